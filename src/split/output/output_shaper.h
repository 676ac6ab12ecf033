#pragma once

#include "split/stream/named_device.h"
#include "split/watchers.h"

#include <QList>

namespace tamrivel {

// Stands between a split's or join's stream and the files it writes, to make
// of the bytes what the chips need (padding, banks, record formats, a cut).
class OutputShaper {
public:
    virtual ~OutputShaper() = default;

    // Given the files opened for writing, in the order they were named, the
    // devices the stream writes to: one per way for a split, one for a join.
    // `report` must see each file's bytes as the programmer will load them
    // (the image, not the record text), with the file's index.
    virtual QList<NamedDevice> attach(const QList<NamedDevice> &files, const OutputTap &report) = 0;

    // After the stream's last byte, before the files are committed: padding
    // and closing records. May raise an error, which leaves every file as it
    // was.
    virtual void finish() = 0;
};

// What `report` sees of file `index`: nothing, when there is no report.
inline FileTap tapFor(const OutputTap &report, int index)
{
    if (!report)
        return {};
    return [report, index](const char *data, qsizetype length) { report(index, data, length); };
}

} // namespace tamrivel
