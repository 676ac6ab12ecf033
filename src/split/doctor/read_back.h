#pragma once

#include "split/doctor/part_diagnosis.h"

namespace tamrivel::doctor {

// A part as it should be and as it was read back, the same size.
struct ReadBack {
    const uchar *expected;
    const uchar *found;
    qint64 size;
    qint64 firstDifference;
};

// What readsAs() takes for a byte no expected byte explains, such as one
// shifted in at an edge.
inline constexpr qint64 kAnyByte = -2;

// True when each byte read back is the expected byte at `from(offset)`: a
// fault that moves bytes. The first difference is tried first, as most
// wrong guesses fail there.
template <typename From>
bool readsAs(const ReadBack &part, From from)
{
    const auto holds = [&](qint64 offset) {
        const qint64 source = from(offset);
        if (source == kAnyByte)
            return true;
        return source >= 0 && source < part.size && part.found[offset] == part.expected[source];
    };
    if (!holds(part.firstDifference))
        return false;
    for (qint64 offset = 0; offset < part.size; ++offset) {
        if (!holds(offset))
            return false;
    }
    return true;
}

// Each family of causes adds the lines of those that account for every
// difference.
void addErasedCauses(const ReadBack &part, QList<Finding> &lines);
void addByteOrderCauses(const ReadBack &part, int width, QList<Finding> &lines);
// Crossed lines come with the wiring that would match them.
void addDataLineCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines);
void addAddressLineCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines);
void addPlacementCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines);
// When nothing else does: how many bits differ, and whether one a byte.
Finding bitDifferences(const ReadBack &part);

} // namespace tamrivel::doctor
