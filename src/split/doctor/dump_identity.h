#pragma once

#include "split/deal_shape.h"

#include <QStringList>

#include <atomic>

namespace tamrivel {

// Where a chip's bytes sit in a split: lanes and banks count from 0, as the
// split's names do (lane 0 and 1 of two ways are _g and _k).
struct DumpPlace {
    DealShape shape;
    int lane = 0;
    qint64 chipSize = 0; // 0: the lane's bytes as dealt, unpadded
    bool banked = false;
    int bank = 0;
    uchar fill = 0xFF;
    bool mirror = false; // the chip repeats its image instead of padding
    qint64 offset = 0; // erased bytes before the image
};

struct DumpIdentity {
    QString dump;
    QString unsearched; // why the dump was not searched; empty when it was
    DumpPlace place; // the part it is, or the nearest
    qint64 differing = 0; // bytes
    QStringList likely; // why it differs from the nearest part
};

// Which part of which split of `image` each dump is: every shape a split
// deals in, unpadded or on one chip of the dump's size or on banks of them,
// padded with 0xFF or 0x00. The plainest exact match is taken; failing one,
// the nearest part, with the diagnoses against it. The image is mapped, each
// dump held while it is searched.
QList<DumpIdentity> identifyDumps(const QString &image, const QStringList &dumps,
                                  const std::atomic<bool> *stop);

} // namespace tamrivel
