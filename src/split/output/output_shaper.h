#pragma once

#include "split/stream/named_device.h"

#include <QList>

namespace tamrivel {

// Stands between a split's or join's stream and the files it writes, to make
// of the bytes what the chips need (padding, banks, record formats, a cut).
class OutputShaper {
public:
    virtual ~OutputShaper() = default;

    // Given the files opened for writing, in the order they were named, the
    // devices the stream writes to: one per way for a split, one for a join.
    virtual QList<NamedDevice> attach(const QList<NamedDevice> &files) = 0;

    // After the stream's last byte, before the files are committed: padding
    // and closing records. May raise an error, which leaves every file as it
    // was.
    virtual void finish() = 0;
};

} // namespace tamrivel
