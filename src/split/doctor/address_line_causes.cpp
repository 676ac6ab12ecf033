#include "split/doctor/read_back.h"

#include <bit>

namespace tamrivel::doctor {
namespace {

// The wiring that matches byte address lines `first` and `second` crossed,
// where the chip's word addresses can be wired: a 16-bit chip's lines count
// words, from the byte address's A1, and its A0 is a byte swap.
QList<qint64> matchingWiring(const ReadBack &part, const PartContext &context, int first, int second)
{
    const int word = DealShape{1, context.width}.chipWordBytes();
    const int shift = std::countr_zero(unsigned(word));
    if (!std::has_single_bit(quint64(part.size)) || part.size < word || first < shift)
        return {};
    QList<qint64> numbers;
    const int lines = std::countr_zero(quint64(part.size / word));
    for (const int line : LineWiring::exchanged(context.wiring.address, lines, first - shift, second - shift))
        numbers << line;
    return numbers;
}

} // namespace

void addAddressLineCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines)
{
    // The part's offset is the chip's address: 32 KiB has A0 to A14.
    const int addressLines = std::bit_width(quint64(part.size - 1));
    const qint64 at = part.firstDifference;
    // A line stuck at the value it has at the first difference could not
    // have made it, nor an exchange of two lines that agree there.
    for (int line = 0; line < addressLines; ++line) {
        const qint64 bit = qint64(1) << line;
        const bool value = !(at & bit);
        if (readsAs(part, [&](qint64 offset) { return value ? offset | bit : offset & ~bit; }))
            lines << Finding{Cause::AddressLineStuck, {line, int(value)}};
    }
    for (int first = 0; first < addressLines; ++first) {
        for (int second = first + 1; second < addressLines; ++second) {
            if ((((at >> first) ^ (at >> second)) & 1) == 0)
                continue;
            const qint64 both = qint64(1) << first | qint64(1) << second;
            if (readsAs(part, [&](qint64 offset) {
                    return ((offset >> first) ^ (offset >> second)) & 1 ? offset ^ both : offset;
                }))
                lines << Finding{Cause::AddressLinesSwapped,
                                 QList<qint64>{first, second} + matchingWiring(part, context, first, second)};
        }
    }
}

} // namespace tamrivel::doctor
