#pragma once

#include "split/input/input_file.h"

#include <QString>

#include <atomic>

namespace tamrivel {

// The figures a programmer shows for a buffer, so that a file can be matched
// against its screen or a chip's label: the size, the CRC-32, and the sum of
// the bytes, of which older programmers show the low 16 bits.
struct ByteSums {
    qint64 size = 0;
    quint32 crc = 0;
    quint32 sum = 0;

    // Takes in the next `length` bytes.
    void add(const char *data, qsizetype length);
    quint16 sum16() const { return quint16(sum & 0xFFFF); }
};

// The sums of the file at `path` as `reading` takes it: of the image a
// record file holds, as a programmer loads it, by default. Raises Cancelled
// when `stop` is set.
ByteSums sumsOfFile(const QString &path, const std::atomic<bool> *stop,
                    InputFile::Reading reading = InputFile::Reading::Image);

} // namespace tamrivel
