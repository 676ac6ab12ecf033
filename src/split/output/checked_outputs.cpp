#include "split/output/checked_outputs.h"

#include "split/input/input_file.h"
#include "split/platform/platform.h"
#include "split/usage_error.h"

namespace tamrivel {

QStringList checkedOutputs(const InputFile &source, const QStringList &named, const PartLayout &layout)
{
    QStringList files = named;
    if (files.isEmpty()) {
        // Names made from a stream handed to us (a FIFO, /dev/stdin, a file
        // the kernel makes up) would land among the devices.
        if (!source.isPlainFile() || platform::inSystemFolder(source.path()))
            throw UsageError{
                QStringLiteral("'%1' is not a regular file: name the outputs").arg(source.path())};
        files = layout.proposedNames(source.path());
    }
    if (files.size() != layout.fileCount())
        throw UsageError{QStringLiteral("%1 files named, but this split has %2 (%3 ways of %4 chips)")
                             .arg(files.size())
                             .arg(layout.fileCount())
                             .arg(layout.shape().ways)
                             .arg(layout.banks())};
    layout.refuseMisfits(files);
    return files;
}

void requireKnownSize(const InputFile &file, const QString &use)
{
    if (!file.sizeKnown())
        throw UsageError{QStringLiteral("'%1' is a stream, whose size is known only once it is read to its "
                                        "end, and %2 needs it first")
                             .arg(file.path(), use)};
}

} // namespace tamrivel
