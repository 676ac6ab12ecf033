#include "split/sums/byte_sums.h"

#include "runtime/runtime_error.h"
#include "split/sums/crc32.h"

#include <QByteArray>

#include <algorithm>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tamrivel {
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

} // namespace

void ByteSums::add(const char *data, qsizetype length, bool words)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    crc = crc32Update(crc, data, length);
    sum = addBytes(sum, bytes, length);
    if (words)
        oddSum = addOddBytes(oddSum, bytes, length, size);
    size += length;
}

ByteSums sumsOfFile(const QString &path, const std::atomic<bool> *stop, InputFile::Reading reading)
{
    constexpr qint64 kBlock = qint64(1) << 20;
    InputFile input(path, reading);
    input.requireKnownSize(QStringLiteral("sums"));
    ByteSums sums;
    QByteArray block(qsizetype(std::min(kBlock, input.size())), Qt::Uninitialized);
    for (qint64 left = input.size(); left > 0;) {
        if (stop && stop->load())
            throw RuntimeError(ErrorNumber::Cancelled, path);
        const qsizetype length = qsizetype(std::min(kBlock, left));
        input.readExactly(block.data(), length);
        sums.add(block.constData(), length);
        left -= length;
    }
    input.confirmUnchanged();
    return sums;
}

} // namespace tamrivel
