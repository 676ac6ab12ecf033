#include "split/line_wiring.h"

#include "split/usage_error.h"

#include <QStringList>

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <vector>

namespace tamrivel {
namespace {

bool namesEachOnce(const QList<int> &lines)
{
    QList<int> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    for (int line = 0; line < sorted.size(); ++line) {
        if (sorted[line] != line)
            return false;
    }
    return true;
}

QString dataProblem(const QList<int> &data, qint64 chipBytes, int wordBytes)
{
    const int lines = 8 * wordBytes;
    if (data.size() != lines)
        return UsageError::tr("--data-lines lists %1 lines, but the chip has %2, D0 to D%3")
            .arg(data.size())
            .arg(lines)
            .arg(lines - 1);
    if (!namesEachOnce(data))
        return UsageError::tr("--data-lines must name each bit from 0 to %1 once, not %2")
            .arg(lines - 1)
            .arg(linesText(data));
    if (chipBytes % wordBytes != 0)
        return UsageError::tr("--data-lines wires 16-bit words, but a chip of %1 bytes does not hold "
                              "whole words")
            .arg(chipBytes);
    return {};
}

QString addressProblem(const QList<int> &address, qint64 chipBytes, int wordBytes)
{
    if (chipBytes % wordBytes != 0 || !std::has_single_bit(quint64(chipBytes / wordBytes)))
        return UsageError::tr("--address-lines needs a chip whose size is a power of two, not %1 bytes "
                              "(give --chip or --size)")
            .arg(chipBytes);
    if (chipBytes > LineWiring::kMaxAddressWired)
        return UsageError::tr("--address-lines reorders each chip in memory: at most %1 MiB, not %2 bytes")
            .arg(LineWiring::kMaxAddressWired >> 20)
            .arg(chipBytes);
    const int lines = std::countr_zero(quint64(chipBytes / wordBytes));
    if (address.size() != lines)
        return UsageError::tr("--address-lines lists %1 lines, but a chip of %2 bytes has %3, A0 to A%4")
            .arg(address.size())
            .arg(chipBytes)
            .arg(lines)
            .arg(lines - 1);
    if (!namesEachOnce(address))
        return UsageError::tr("--address-lines must name each address bit from 0 to %1 once, not %2")
            .arg(lines - 1)
            .arg(linesText(address));
    return {};
}

} // namespace

QString LineWiring::problem(qint64 chipBytes, int wordBytes) const
{
    if (!data.isEmpty()) {
        if (const QString problem = dataProblem(data, chipBytes, wordBytes); !problem.isEmpty())
            return problem;
    }
    return address.isEmpty() ? QString() : addressProblem(address, chipBytes, wordBytes);
}

qint64 LineWiring::busWord(qint64 chipWord) const
{
    qint64 bus = 0;
    for (int line = 0; line < address.size(); ++line)
        bus |= (chipWord >> line & 1) << address[line];
    return address.isEmpty() ? chipWord : bus;
}

qint64 LineWiring::chipWord(qint64 busWord) const
{
    qint64 chip = 0;
    for (int line = 0; line < address.size(); ++line)
        chip |= (busWord >> address[line] & 1) << line;
    return address.isEmpty() ? busWord : chip;
}

std::optional<uchar> LineWiring::chipByte(uchar byte, int wordBytes) const
{
    if (data.isEmpty())
        return byte;
    const quint16 word = DataLineTable(data, true).word(byte, wordBytes == 2 ? byte : 0);
    const uchar low = uchar(word);
    return wordBytes == 1 || low == uchar(word >> 8) ? std::optional<uchar>(low) : std::nullopt;
}

QList<int> LineWiring::exchanged(const QList<int> &wiring, int lines, int first, int second)
{
    QList<int> crossed = wiring;
    if (crossed.isEmpty()) {
        crossed.resize(lines);
        std::iota(crossed.begin(), crossed.end(), 0);
    }
    std::swap(crossed[first], crossed[second]);
    return crossed;
}

QString linesText(const QList<int> &lines)
{
    QStringList numbers;
    for (const int line : lines)
        numbers << QString::number(line);
    return numbers.join(QLatin1Char(','));
}

DataLineTable::DataLineTable(const QList<int> &data, bool toChip) : m_wordBytes(int(data.size()) / 8)
{
    for (int byte = 0; byte < m_wordBytes; ++byte) {
        for (int value = 0; value < 256; ++value) {
            quint16 moved = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (!(value >> bit & 1))
                    continue;
                // Bit `bit` of this byte is word bit `from`; it goes to `to`.
                const int from = 8 * byte + bit;
                const int to = toChip ? int(data.indexOf(from)) : data[from];
                moved |= quint16(1u << to);
            }
            m_parts[size_t(byte)][size_t(value)] = moved;
        }
    }
}

void DataLineTable::apply(uchar *bytes, qint64 size) const
{
    if (m_wordBytes == 1) {
        for (qint64 at = 0; at < size; ++at)
            bytes[at] = uchar(m_parts[0][bytes[at]]);
        return;
    }
    for (qint64 at = 0; at + 1 < size; at += 2) {
        const quint16 word = this->word(bytes[at], bytes[at + 1]);
        bytes[at] = uchar(word);
        bytes[at + 1] = uchar(word >> 8);
    }
}

void wireChip(const LineWiring &wiring, int wordBytes, bool toChip, const uchar *from, uchar *to, qint64 size)
{
    if (wiring.address.isEmpty()) {
        std::memmove(to, from, size_t(size));
    } else {
        for (qint64 word = 0; word < size / wordBytes; ++word) {
            const qint64 bus = wiring.busWord(word);
            const qint64 source = toChip ? bus : word;
            const qint64 target = toChip ? word : bus;
            std::memcpy(to + target * wordBytes, from + source * wordBytes, size_t(wordBytes));
        }
    }
    if (!wiring.data.isEmpty())
        DataLineTable(wiring.data, toChip).apply(to, size);
}

} // namespace tamrivel
