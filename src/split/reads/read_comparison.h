#pragma once

#include "split/doctor/finding.h"
#include "split/input/input_file.h"
#include "split/output/existing_outputs.h"
#include "split/watchers.h"

#include <QList>
#include <QStringList>

#include <array>

namespace tamrivel {

// The most disagreements, and offsets without a majority, kept to be listed.
inline constexpr int kListedDisagreements = 8;

// One offset where the reads of a chip do not all hold the same byte.
struct ReadDisagreement {
    qint64 offset = 0;
    QList<uchar> values; // as each read gave it

    // The data lines not read alike by every read.
    uchar unstableBits() const;
    // How many reads hold a 1 on data line `line`.
    int ones(int line) const;
};

// How several reads of one chip compare, over the bytes all of them have.
struct ReadComparison {
    QStringList reads;
    QList<qint64> sizes; // as the reads
    qint64 compared = 0; // the size of the shortest
    qint64 differing = 0; // offsets where the reads disagree
    QList<ReadDisagreement> first; // the first of them
    std::array<qint64, 8> unstable = {}; // bits read differently, by data line D0 to D7
    qint64 undecided = 0; // offsets where no byte is held by more than half of the reads
    QList<qint64> firstUndecided;
    bool voted = false; // the majority's image was written

    bool sizesDiffer() const;
    bool agree() const { return differing == 0 && !sizesDiffer(); }
    // What the unstable bits say of the chip or its socket: one line at
    // fault, or bits scattered over several.
    QList<Finding> likely() const;
};

// Compares `reads` of one chip byte by byte over the length they all have,
// in constant memory. With a `vote` path, also writes there the byte more
// than half of the reads hold at each offset, replaced as split replaces its
// outputs (an existing one refused as `existing` says, before anything is
// read), but only when the reads are of one size and every offset has such
// a byte: otherwise nothing is written. Raises RuntimeError naming the file
// at fault, and UsageError for a read whose size cannot be known first.
ReadComparison compareReads(const QStringList &reads, InputFile::Reading reading, const QString &vote = {},
                            Existing existing = Existing::Keep, const Watchers &watchers = {});

} // namespace tamrivel
