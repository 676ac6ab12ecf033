// Compiled with -mavx2; called only where the processor has it.
#include "split/kernels/shuffle_network.h"

#include <immintrin.h>

namespace tamrivel {
namespace {

// The byte shuffle stays within each 16-byte half, so each half works on its
// own group: two groups a step.
struct Avx2 {
    using Reg = __m256i;
    static constexpr int kGroups = 2;

    static Reg loadMask(const uchar *mask)
    {
        return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i *>(mask)));
    }
    static Reg loadGroups(const uchar *at, qsizetype stride)
    {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + stride));
        return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
    }
    static Reg loadRun(const uchar *at) { return _mm256_loadu_si256(reinterpret_cast<const Reg *>(at)); }
    static void storeGroups(uchar *at, qsizetype stride, Reg value)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(at), _mm256_castsi256_si128(value));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(at + stride), _mm256_extracti128_si256(value, 1));
    }
    static void storeRun(uchar *at, Reg value) { _mm256_storeu_si256(reinterpret_cast<Reg *>(at), value); }
    static Reg shuffle(Reg bytes, Reg mask) { return _mm256_shuffle_epi8(bytes, mask); }
    static Reg merge(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg zero() { return _mm256_setzero_si256(); }
    static void storeGroup(uchar *at, int group, Reg value)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(at),
                         group ? _mm256_extracti128_si256(value, 1) : _mm256_castsi256_si128(value));
    }

    template <int Width>
    static Reg interleaveLow(Reg a, Reg b)
    {
        if constexpr (Width == 1)
            return _mm256_unpacklo_epi8(a, b);
        else if constexpr (Width == 2)
            return _mm256_unpacklo_epi16(a, b);
        else if constexpr (Width == 4)
            return _mm256_unpacklo_epi32(a, b);
        else
            return _mm256_unpacklo_epi64(a, b);
    }

    template <int Width>
    static Reg interleaveHigh(Reg a, Reg b)
    {
        if constexpr (Width == 1)
            return _mm256_unpackhi_epi8(a, b);
        else if constexpr (Width == 2)
            return _mm256_unpackhi_epi16(a, b);
        else if constexpr (Width == 4)
            return _mm256_unpackhi_epi32(a, b);
        else
            return _mm256_unpackhi_epi64(a, b);
    }
};

} // namespace

VectorKernels avx2Kernels()
{
    return {"avx2", dealWith<Avx2>, gatherWith<Avx2>};
}

} // namespace tamrivel
