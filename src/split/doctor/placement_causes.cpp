#include "split/doctor/read_back.h"

#include <algorithm>
#include <bit>

namespace tamrivel::doctor {
namespace {

// A smaller period is a constant or a pattern, not a chip.
constexpr qint64 kSmallestChip = 1024;

// The smallest power of two the bytes read back repeat with, if smaller than
// the part.
qint64 readBackPeriod(const ReadBack &part)
{
    for (qint64 period = 1; period < part.size; period *= 2) {
        if (part.size % period == 0 && std::equal(part.found + period, part.found + part.size, part.found))
            return period;
    }
    return 0;
}

void addRepeat(const ReadBack &part, QList<Finding> &lines)
{
    const qint64 period = readBackPeriod(part);
    if (period < kSmallestChip)
        return;
    // The small chip holds one stretch of what the large one should.
    for (qint64 start = 0; start < part.size; start += period) {
        if (std::equal(part.found, part.found + period, part.expected + start)) {
            lines << Finding{Cause::RepeatsEvery, {period}};
            return;
        }
    }
}

void addShift(const ReadBack &part, QList<Finding> &lines)
{
    for (int distance = 1; distance <= std::min<qint64>(kLargestShift, part.size / 2); ++distance) {
        for (const int shift : {distance, -distance}) {
            if (readsAs(part, [&](qint64 offset) {
                    const qint64 from = offset - shift;
                    return from < 0 || from >= part.size ? kAnyByte : from;
                }))
                lines << Finding{Cause::ShiftedBy, {shift}};
        }
    }
}

void addFill(const ReadBack &part, const PartContext &context, QList<Finding> &lines)
{
    const qint64 from = context.paddingFrom;
    if (from < 0 || part.firstDifference < from)
        return;
    const uchar held = part.found[from];
    if (std::all_of(part.found + from, part.found + part.size, [held](uchar byte) { return byte == held; }))
        lines << Finding{Cause::FilledWith, {held, context.fill}};
    // A chip burnt from an image repeated to fill it (cat rom rom > big).
    else if (from > 0 && std::equal(part.found + from, part.found + part.size, part.found))
        lines << Finding{Cause::FilledWithCopies, {context.fill}};
}

} // namespace

void addByteOrderCauses(const ReadBack &part, int width, QList<Finding> &lines)
{
    if (width < 2)
        return;
    // Each unit reversed within what it holds, a short last one included.
    if (readsAs(part, [&](qint64 offset) {
            const qint64 unit = offset - offset % width;
            const qint64 unitEnd = std::min<qint64>(unit + width, part.size);
            return unit + unitEnd - 1 - offset;
        }))
        lines << Finding{Cause::ByteSwapped};
}

void addPlacementCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines)
{
    addRepeat(part, lines);
    addShift(part, lines);
    addFill(part, context, lines);
}

Finding bitDifferences(const ReadBack &part)
{
    qint64 bits = 0;
    bool singleBits = true;
    for (qint64 offset = part.firstDifference; offset < part.size; ++offset) {
        const int differing = std::popcount(uint(part.expected[offset] ^ part.found[offset]));
        bits += differing;
        singleBits = singleBits && differing <= 1;
    }
    return Finding{singleBits ? Cause::SingleBitDifferences : Cause::BitsDiffer, {bits}};
}

} // namespace tamrivel::doctor
