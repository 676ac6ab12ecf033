#include "split/doctor/read_back.h"

#include <bit>

namespace tamrivel::doctor {
namespace {

// The data bus as the chip has it: eight lines, or sixteen.
class DataWords {
public:
    DataWords(const ReadBack &part, int width)
        : m_part(part),
          m_bytes(DealShape{1, width}.chipWordBytes()),
          m_count((part.size + m_bytes - 1) / m_bytes)
    {
    }

    int lines() const { return 8 * m_bytes; }
    qint64 count() const { return m_count; }
    // A missing high byte of a short last word reads as 0 on both sides.
    quint16 expected(qint64 word) const { return at(m_part.expected, word); }
    quint16 found(qint64 word) const { return at(m_part.found, word); }

private:
    quint16 at(const uchar *bytes, qint64 word) const
    {
        const qint64 low = word * m_bytes;
        const quint16 high = m_bytes == 2 && low + 1 < m_part.size ? bytes[low + 1] : 0;
        return quint16(bytes[low] | high << 8);
    }

    const ReadBack &m_part;
    int m_bytes;
    qint64 m_count;
};

quint16 exchangeBits(quint16 word, int first, int second)
{
    const int differ = ((word >> first) ^ (word >> second)) & 1;
    return quint16(word ^ (differ << first | differ << second));
}

bool stuckAt(const DataWords &words, int line, int value)
{
    for (qint64 word = 0; word < words.count(); ++word) {
        if ((words.found(word) >> line & 1) != value)
            return false;
    }
    return true;
}

bool exchanged(const DataWords &words, int first, int second)
{
    for (qint64 word = 0; word < words.count(); ++word) {
        if (words.found(word) != exchangeBits(words.expected(word), first, second))
            return false;
    }
    return true;
}

} // namespace

void addDataLineCauses(const ReadBack &part, const PartContext &context, QList<Finding> &lines)
{
    const DataWords words(part, context.width);
    quint16 differing = 0;
    for (qint64 word = 0; word < words.count(); ++word)
        differing |= words.expected(word) ^ words.found(word);
    const int low = std::countr_zero(differing);
    if (std::popcount(differing) == 1) {
        const int value = words.found(part.firstDifference / (words.lines() / 8)) >> low & 1;
        if (stuckAt(words, low, value))
            lines << Finding{Cause::DataLineStuck, {low, value}};
    } else if (std::popcount(differing) == 2) {
        const int high = 15 - std::countl_zero(differing);
        if (exchanged(words, low, high)) {
            Finding swapped{Cause::DataLinesSwapped, {low, high}};
            for (const int line : LineWiring::exchanged(context.wiring.data, words.lines(), low, high))
                swapped.numbers << line;
            lines << swapped;
        }
    }
}

} // namespace tamrivel::doctor
