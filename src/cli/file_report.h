#pragma once

#include "split/sums/byte_sums.h"
#include "split/watchers.h"

#include <QStringList>

#include <cstdio>
#include <vector>

namespace tamrivel::cli {

// Size, CRC-32 and byte sum of each output, taken from the bytes as they are
// written, so the report costs no second pass over the files. For a record
// file these are of the image it holds, as a programmer loads it.
class FileReport {
public:
    // With `wordSums`, also the sums of 16-bit words, low byte first and
    // high byte first, as programmers of 16-bit chips show them.
    explicit FileReport(bool wordSums = false) : m_wordSums(wordSums) { }

    // Feed to the split or join as its OutputTap. Only one thread may write
    // through it at a time, and only until the operation has returned.
    OutputTap tap();

    // One line a file, `outputs` in the order the operation numbered them:
    // path, size in bytes, CRC-32, and the sum of the bytes in its low 16
    // bits and in 32 (programmers show one or the other), then any word
    // sums, all in hex.
    void print(std::FILE *to, const QStringList &outputs) const;

private:
    bool m_wordSums;
    std::vector<ByteSums> m_files;
};

} // namespace tamrivel::cli
