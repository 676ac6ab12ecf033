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
    quint32 oddSum = 0; // of the bytes at odd offsets, kept only for word sums

    // Takes in the next `length` bytes; `words` keeps what the word sums
    // need, which costs a second look at each block.
    void add(const char *data, qsizetype length, bool words = false);
    quint16 sum16() const { return quint16(sum & 0xFFFF); }
    // The sum of 16-bit words, low byte first or high byte first, as
    // programmers of 16-bit chips show it; an odd last byte stands alone as
    // if its partner were 0. Only where every add() kept `words`.
    quint32 wordSum(bool lowFirst) const
    {
        const quint32 evenSum = sum - oddSum;
        return lowFirst ? evenSum + (oddSum << 8) : (evenSum << 8) + oddSum;
    }
};

// The sums of the file at `path` as `reading` takes it: of the image a
// record file holds, as a programmer loads it, by default. Raises Cancelled
// when `stop` is set.
ByteSums sumsOfFile(const QString &path, const std::atomic<bool> *stop,
                    InputFile::Reading reading = InputFile::Reading::Image);

} // namespace tamrivel
