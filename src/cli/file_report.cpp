#include "file_report.h"

#include "cli/words.h"
#include "crc32.h"
#include "split/platform/console.h"

#include <QDir>

#include <algorithm>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tamrivel::cli {
namespace {

// The byte sum runs beside the CRC on every byte written; a plain loop does
// about 1 GB/s, the vector one adds 16 bytes at a time.
quint32 addBytes(quint32 sum, const uchar *bytes, qsizetype length)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(block, _mm_setzero_si128()));
    }
    // Only the low 32 bits of each lane matter to a 32-bit sum.
    sum += quint32(_mm_cvtsi128_si32(lanes)) + quint32(_mm_cvtsi128_si32(_mm_unpackhi_epi64(lanes, lanes)));
#endif
    return std::accumulate(bytes + i, bytes + length, sum);
}

// The bytes of `bytes` that lie at odd offsets of their file, `bytes` being
// at offset `at`: the high bytes of little-endian words.
quint32 addOddBytes(quint32 sum, const uchar *bytes, qsizetype length, qint64 at)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    // In each 16-bit lane, the byte that falls on an odd offset.
    const __m128i odd = _mm_set1_epi16(at % 2 == 0 ? qint16(0xFF00) : qint16(0x00FF));
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(_mm_and_si128(block, odd), _mm_setzero_si128()));
    }
    sum += quint32(_mm_cvtsi128_si32(lanes)) + quint32(_mm_cvtsi128_si32(_mm_unpackhi_epi64(lanes, lanes)));
#endif
    for (i += (at + i) % 2 == 0; i < length; i += 2)
        sum += bytes[i];
    return sum;
}

// Words of two bytes, the last one of an odd-sized file standing alone as if
// its partner were 0; `lowFirst` for little-endian words.
quint32 wordSum(quint32 sum, quint32 oddSum, bool lowFirst)
{
    const quint32 evenSum = sum - oddSum;
    return lowFirst ? evenSum + (oddSum << 8) : (evenSum << 8) + oddSum;
}

} // namespace

OutputTap FileReport::tap()
{
    return [this](int index, const char *data, qsizetype length) {
        // An output that is never written to is never seen here.
        if (size_t(index) >= m_files.size())
            m_files.resize(size_t(index) + 1);
        Entry &entry = m_files[size_t(index)];
        entry.crc = crc32Update(entry.crc, data, length);
        const auto *bytes = reinterpret_cast<const uchar *>(data);
        entry.sum = addBytes(entry.sum, bytes, length);
        if (m_wordSums)
            entry.oddSum = addOddBytes(entry.oddSum, bytes, length, entry.size);
        entry.size += length;
    };
}

void FileReport::print(std::FILE *to, const QStringList &outputs) const
{
    int widest = 4;
    for (const QString &path : outputs)
        widest = std::max(widest, int(QDir::toNativeSeparators(path).size()));
    // Names are padded by hand: a name given to a placeholder could hold
    // placeholders of its own for the numbers that follow.
    QString header = Words::tr("file").leftJustified(widest) +
        QStringLiteral("  %1  %2  %3  %4")
            .arg(Words::tr("bytes"), 12)
            .arg(QStringLiteral("crc32"), 8)
            .arg(QStringLiteral("sum16"), 5)
            .arg(QStringLiteral("sum32"), 8);
    if (m_wordSums)
        header +=
            QStringLiteral("  %1  %2").arg(QStringLiteral("words-le"), 8).arg(QStringLiteral("words-be"), 8);
    platform::writeText(to, header + QLatin1Char('\n'));
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const Entry entry = size_t(i) < m_files.size() ? m_files[size_t(i)] : Entry{};
        QString line = QDir::toNativeSeparators(outputs[i]).leftJustified(widest) +
            QStringLiteral("  %1  %2   %3  %4")
                .arg(entry.size, 12)
                .arg(entry.crc, 8, 16, QLatin1Char('0'))
                .arg(entry.sum & 0xFFFF, 4, 16, QLatin1Char('0'))
                .arg(entry.sum, 8, 16, QLatin1Char('0'));
        if (m_wordSums)
            line += QStringLiteral("  %1  %2")
                        .arg(wordSum(entry.sum, entry.oddSum, true), 8, 16, QLatin1Char('0'))
                        .arg(wordSum(entry.sum, entry.oddSum, false), 8, 16, QLatin1Char('0'));
        platform::writeText(to, line + QLatin1Char('\n'));
    }
}

} // namespace tamrivel::cli
