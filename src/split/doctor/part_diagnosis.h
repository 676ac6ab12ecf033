#pragma once

#include "split/doctor/finding.h"
#include "split/part_layout.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace tamrivel {

// The largest part held in memory to be diagnosed: the largest chips made,
// with room to spare. Larger parts are only counted, as they stream by.
inline constexpr qint64 kMaxDiagnosedPart = 64 * 1024 * 1024;
// The same, as help and reports say it.
inline QString maxDiagnosedPartText()
{
    return QStringLiteral("%1 MiB").arg(kMaxDiagnosedPart / (1024 * 1024));
}

// The largest displacement looked for. Beyond a few bytes it is no longer a
// slip of the programmer's start address, and random data starts to match
// somewhere.
inline constexpr int kLargestShift = 16;

// Another part of the same split, known by the digest of what it should hold.
struct OtherPart {
    QString name;
    QByteArray digest; // PartDigest of its expected bytes
};

// What a diagnosis needs to know of a part beyond its bytes.
struct PartContext {
    int width = 1; // bytes a turn of the deal; 2 or more: a chip with a 16-bit data bus
    qint64 paddingFrom = -1; // the first byte the split pads; -1: none
    uchar fill = kErasedByte;
    QList<OtherPart> others;
    LineWiring wiring = {}; // the chip's, which lines found crossed are crossed against

    // What the layout says of its file `file`; no others yet.
    static PartContext of(const PartLayout &layout, int file)
    {
        return {layout.shape().width, layout.paddingStart(file), layout.fit().fill, {}, layout.fit().wiring};
    }
};

// The faults that each account for every difference between what a part
// should hold and what was read back, most specific first; empty when none
// does. `expected` and `found` are the same size, at most kMaxDiagnosedPart,
// and differ.
QList<Finding> likelyCauses(const QByteArray &expected, const QByteArray &found, const PartContext &context);

// The faults that each account for every difference between what a part
// should hold and what was read back, most specific first, in the words a
// script may look for; when none does, how many bits differ. `expected` and
// `found` are the same size, at most kMaxDiagnosedPart, and differ.
QList<Finding> diagnosePart(const QByteArray &expected, const QByteArray &found, const PartContext &context);

} // namespace tamrivel
