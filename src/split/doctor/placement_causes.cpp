#include "split/doctor/read_back.h"
#include "split/doctor/size_text.h"

#include <algorithm>
#include <bit>

namespace tamrivel::doctor {
namespace {

// A smaller period is a constant or a pattern, not a chip.
constexpr qint64 kSmallestChip = 1024;

// As a programmer's screen shows a byte: 0xFF.
QString byteText(uchar byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

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

void addRepeat(const ReadBack &part, QStringList &lines)
{
    const qint64 period = readBackPeriod(part);
    if (period < kSmallestChip)
        return;
    // The small chip holds one stretch of what the large one should.
    for (qint64 start = 0; start < part.size; start += period) {
        if (std::equal(part.found, part.found + period, part.expected + start)) {
            const QString size = sizeText(period);
            // An 8K chip, a 16K chip.
            const QString article =
                size.startsWith(QLatin1Char('8')) ? QStringLiteral("an") : QStringLiteral("a");
            lines << QStringLiteral("repeats every 0x%1 bytes: %2 %3 chip?")
                         .arg(period, 0, 16)
                         .arg(article, size);
            return;
        }
    }
}

void addShift(const ReadBack &part, QStringList &lines)
{
    for (int distance = 1; distance <= std::min<qint64>(kLargestShift, part.size / 2); ++distance) {
        for (const int shift : {distance, -distance}) {
            if (readsAs(part, [&](qint64 offset) {
                    const qint64 from = offset - shift;
                    return from < 0 || from >= part.size ? kAnyByte : from;
                }))
                lines << QStringLiteral("shifted by %1")
                             .arg(shift > 0 ? QStringLiteral("+%1").arg(shift) : QString::number(shift));
        }
    }
}

void addFill(const ReadBack &part, const PartContext &context, QStringList &lines)
{
    const qint64 from = context.paddingFrom;
    if (from < 0 || part.firstDifference < from)
        return;
    const uchar held = part.found[from];
    if (std::all_of(part.found + from, part.found + part.size, [held](uchar byte) { return byte == held; }))
        lines << QStringLiteral("filled with 0x%1, not 0x%2").arg(byteText(held), byteText(context.fill));
    // A chip burnt from an image repeated to fill it (cat rom rom > big).
    else if (from > 0 && std::equal(part.found + from, part.found + part.size, part.found))
        lines << QStringLiteral("filled with copies of the image (--fill mirror), not 0x%1")
                     .arg(byteText(context.fill));
}

} // namespace

void addByteOrderCauses(const ReadBack &part, int width, QStringList &lines)
{
    if (width < 2)
        return;
    // Each unit reversed within what it holds, a short last one included.
    if (readsAs(part, [&](qint64 offset) {
            const qint64 unit = offset - offset % width;
            const qint64 unitEnd = std::min<qint64>(unit + width, part.size);
            return unit + unitEnd - 1 - offset;
        }))
        lines << QStringLiteral("byte-swapped");
}

void addPlacementCauses(const ReadBack &part, const PartContext &context, QStringList &lines)
{
    addRepeat(part, lines);
    addShift(part, lines);
    addFill(part, context, lines);
}

QString bitDifferences(const ReadBack &part)
{
    qint64 bits = 0;
    bool singleBits = true;
    for (qint64 offset = part.firstDifference; offset < part.size; ++offset) {
        const int differing = std::popcount(uint(part.expected[offset] ^ part.found[offset]));
        bits += differing;
        singleBits = singleBits && differing <= 1;
    }
    if (singleBits)
        return bits == 1 ? QStringLiteral("1 single-bit difference: a weak chip or a bad read?")
                         : QStringLiteral("%1 single-bit differences: a weak chip or a bad read?").arg(bits);
    return QStringLiteral("%1 bits differ").arg(bits);
}

} // namespace tamrivel::doctor
