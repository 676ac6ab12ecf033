#include "deal_kernel.h"

#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tamrivel {
namespace {

// The window's case, every ROM pair goes through here: even and odd bytes.
void deinterleavePairs(const uchar *src, qsizetype length, uchar *even, uchar *odd)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (; i + 32 <= length; i += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i + 16));
        const __m128i evens = _mm_packus_epi16(_mm_and_si128(a, lowBytes), _mm_and_si128(b, lowBytes));
        const __m128i odds = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(even + i / 2), evens);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(odd + i / 2), odds);
    }
#endif
    for (; i + 1 < length; i += 2) {
        even[i / 2] = src[i];
        odd[i / 2] = src[i + 1];
    }
    if (i < length)
        even[i / 2] = src[i];
}

void interleavePairs(const uchar *even, const uchar *odd, qsizetype length, uchar *dest)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 32 <= length; i += 32) {
        const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i *>(even + i / 2));
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i *>(odd + i / 2));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dest + i), _mm_unpacklo_epi8(e, o));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dest + i + 16), _mm_unpackhi_epi8(e, o));
    }
#endif
    for (; i + 1 < length; i += 2) {
        dest[i] = even[i / 2];
        dest[i + 1] = odd[i / 2];
    }
    if (i < length)
        dest[i] = even[i / 2];
}

void copyUnit(uchar *to, const uchar *from, qsizetype count, bool swap)
{
    if (!swap) {
        std::memcpy(to, from, size_t(count));
        return;
    }
    for (qsizetype k = 0; k < count; ++k)
        to[k] = from[count - 1 - k];
}

// Whole rounds with the unit width known at compile time, so each unit is one
// load and one store.
template <int Width>
void dealRounds(const uchar *src, qsizetype rounds, int ways, bool swap, uchar *const *parts)
{
    const qsizetype stride = qsizetype(ways) * Width;
    for (int way = 0; way < ways; ++way) {
        const uchar *from = src + qsizetype(way) * Width;
        uchar *to = parts[way];
        for (qsizetype r = 0; r < rounds; ++r, from += stride, to += Width)
            copyUnit(to, from, Width, swap);
    }
}

template <int Width>
void gatherRounds(const uchar *const *parts, qsizetype rounds, int ways, bool swap, uchar *dest)
{
    const qsizetype stride = qsizetype(ways) * Width;
    for (int way = 0; way < ways; ++way) {
        const uchar *from = parts[way];
        uchar *to = dest + qsizetype(way) * Width;
        for (qsizetype r = 0; r < rounds; ++r, from += Width, to += stride)
            copyUnit(to, from, Width, swap);
    }
}

template <typename Fn>
void byWidth(int width, Fn &&fn)
{
    switch (width) {
    case 1: fn(std::integral_constant<int, 1>()); break;
    case 2: fn(std::integral_constant<int, 2>()); break;
    case 4: fn(std::integral_constant<int, 4>()); break;
    default: fn(std::integral_constant<int, 8>()); break;
    }
}

} // namespace

void dealBlock(const DealShape &shape, const uchar *source, qsizetype length, uchar *const *parts,
               qsizetype *partLengths)
{
    for (int way = 0; way < shape.ways; ++way)
        partLengths[way] = shape.partSize(length, way);

    if (shape.ways == 2 && shape.width == 1) {
        deinterleavePairs(source, length, parts[0], parts[1]);
        return;
    }
    const qsizetype rounds = length / shape.roundBytes();
    // No pointer arithmetic at all without a whole round: a part may have no
    // buffer yet.
    if (rounds > 0) {
        byWidth(shape.width, [&](auto width) {
            dealRounds<decltype(width)::value>(source, rounds, shape.ways, shape.swap, parts);
        });
    }
    // A short last round: each part takes what is left of its turn, in order.
    const qsizetype done = rounds * shape.width;
    const uchar *tail = source + rounds * shape.roundBytes();
    for (int way = 0; way < shape.ways; ++way) {
        const qsizetype share = partLengths[way] - done;
        if (share <= 0)
            break;
        copyUnit(parts[way] + done, tail, share, shape.swap);
        tail += share;
    }
}

void gatherBlock(const DealShape &shape, const uchar *const *parts, const qsizetype *partLengths, uchar *dest)
{
    if (shape.ways == 2 && shape.width == 1) {
        interleavePairs(parts[0], parts[1], partLengths[0] + partLengths[1], dest);
        return;
    }
    const qsizetype rounds = partLengths[shape.ways - 1] / shape.width;
    if (rounds > 0) {
        byWidth(shape.width, [&](auto width) {
            gatherRounds<decltype(width)::value>(parts, rounds, shape.ways, shape.swap, dest);
        });
    }
    const qsizetype done = rounds * shape.width;
    uchar *tail = dest + rounds * shape.roundBytes();
    for (int way = 0; way < shape.ways; ++way) {
        const qsizetype share = partLengths[way] - done;
        if (share <= 0)
            break;
        copyUnit(tail, parts[way] + done, share, shape.swap);
        tail += share;
    }
}

} // namespace tamrivel
