#include "split/output/output_names.h"

#include "split/input/input_file.h"
#include "split/part_layout.h"
#include "split/platform/platform.h"
#include "split/usage_error.h"

namespace tamrivel {

QStringList outputNames(const InputFile &source, const QStringList &named, const PartLayout &layout)
{
    if (!named.isEmpty())
        return named;
    // Names made from a stream handed to us (a FIFO, /dev/stdin, a file the
    // kernel makes up) would land among the devices.
    if (!source.isPlainFile() || platform::inSystemFolder(source.path()))
        throw UsageError{UsageError::tr("'%1' is not a regular file: name the outputs").arg(source.path())};
    return layout.proposedNames(source.path());
}

} // namespace tamrivel
