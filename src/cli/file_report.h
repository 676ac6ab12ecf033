#pragma once

#include "split/deal_shape.h"

#include <QStringList>

#include <cstdio>
#include <vector>

namespace tamrivel::cli {

// Size, CRC-32 and byte sum of each output, taken from the bytes as they are
// written, so the report costs no second pass over the files. For a record
// file these are of the image it holds, as a programmer loads it.
class FileReport {
public:
    explicit FileReport(const QStringList &outputs);

    // Feed to the split or join as its OutputTap.
    OutputTap tap();

    // One line a file: path, size in bytes, CRC-32 and the 32-bit sum of the
    // bytes (the checksum programmer software shows), both in hex.
    void print(std::FILE *to) const;

    quint32 crc32(int index) const { return m_files[size_t(index)].crc; }
    quint32 sum(int index) const { return m_files[size_t(index)].sum; }
    qint64 size(int index) const { return m_files[size_t(index)].size; }

private:
    struct Entry {
        QString path;
        qint64 size = 0;
        quint32 crc = 0;
        quint32 sum = 0;
    };
    std::vector<Entry> m_files;
};

} // namespace tamrivel::cli
