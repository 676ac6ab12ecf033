#pragma once

#include "split/chip_fit.h"
#include "split/deal_shape.h"
#include "split/doctor/finding.h"
#include "split/input/input_file.h"

#include <QStringList>

#include <atomic>
#include <optional>

namespace tamrivel {

// Where a chip's bytes sit in a split: ways and banks count from 0, as the
// split's names do (ways 0 and 1 of two are _g and _k).
struct DumpPlace {
    DealShape shape;
    ChipFit fit; // a chip size of 0: the way's bytes as dealt, unpadded
    int way = 0;
    int bank = 0; // with fit.banks
    qint64 size = 0; // bytes the split writes there
};

struct DumpIdentity {
    QString dump;
    QString unsearched; // why the dump was not searched; empty when it was
    // No run of its bytes is any part's, and parts are too many to name the
    // nearest: a dump of something else, or too worn to tell.
    bool sharesNothing = false;
    qint64 size = 0; // bytes read; unlike place.size for a dump cut short or run on
    DumpPlace place; // the part it is, or the nearest
    // A longer part the dump is also the start of, where it matches a chip
    // exactly: a chip read back as half its size fits a split of chips that
    // size too.
    std::optional<DumpPlace> alsoStartOf;
    qint64 differing = 0; // bytes
    QList<Finding> likely; // why it differs from the nearest part
};

// Which part of which split of `image` each dump is: every shape a split
// deals in, unpadded or on one chip or on banks of them, padded with the
// erased byte or 0x00, mirrored, or mapped high. Chips are of the sizes
// chips are made in, the dump's or the nearest either side, so that a dump
// cut short or run on is placed as such rather than as a chip no one makes.
// The plainest exact match is taken; failing one, the plainest part the
// dump matches as far as both go; failing that, the nearest part, with the
// diagnoses against it. The image is mapped and read once for a batch of
// dumps, so that only the places where a dump shares a run of bytes with a
// way are searched; the batch's dumps are held while they are searched. Each dump is read as `reading` says.
// A `chipSize` other than 0 is the size of the chips the dumps were read
// from, as the user knows it: only the parts a split writes for such chips
// are places, so that a dump read with the wrong size is told as such.
// With a `wiring`, each dump is first read as its board reads it, and placed
// only on chips it can be wired so: of its word, and with address lines, of
// its size; the places name the wiring. The wiring is never searched for.
QList<DumpIdentity> identifyDumps(const QString &image, const QStringList &dumps,
                                  const std::atomic<bool> *stop,
                                  InputFile::Reading reading = InputFile::Reading::Image, qint64 chipSize = 0,
                                  const LineWiring &wiring = {});

} // namespace tamrivel
