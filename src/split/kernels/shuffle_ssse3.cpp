// Compiled with -mssse3; called only where the processor has it.
#include "split/kernels/shuffle_network.h"

#include <tmmintrin.h>

namespace tamrivel {
namespace {

struct Ssse3 {
    using Reg = __m128i;
    static constexpr int kGroups = 1;

    static Reg loadMask(const uchar *mask) { return _mm_load_si128(reinterpret_cast<const Reg *>(mask)); }
    static Reg loadGroups(const uchar *at, qsizetype) { return loadRun(at); }
    static Reg loadRun(const uchar *at) { return _mm_loadu_si128(reinterpret_cast<const Reg *>(at)); }
    static void storeGroups(uchar *at, qsizetype, Reg value) { storeRun(at, value); }
    static void storeRun(uchar *at, Reg value) { _mm_storeu_si128(reinterpret_cast<Reg *>(at), value); }
    static Reg shuffle(Reg bytes, Reg mask) { return _mm_shuffle_epi8(bytes, mask); }
    static Reg merge(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg zero() { return _mm_setzero_si128(); }
    static void storeGroup(uchar *at, int, Reg value) { storeRun(at, value); }

    template <int Width>
    static Reg interleaveLow(Reg a, Reg b)
    {
        if constexpr (Width == 1)
            return _mm_unpacklo_epi8(a, b);
        else if constexpr (Width == 2)
            return _mm_unpacklo_epi16(a, b);
        else if constexpr (Width == 4)
            return _mm_unpacklo_epi32(a, b);
        else
            return _mm_unpacklo_epi64(a, b);
    }

    template <int Width>
    static Reg interleaveHigh(Reg a, Reg b)
    {
        if constexpr (Width == 1)
            return _mm_unpackhi_epi8(a, b);
        else if constexpr (Width == 2)
            return _mm_unpackhi_epi16(a, b);
        else if constexpr (Width == 4)
            return _mm_unpackhi_epi32(a, b);
        else
            return _mm_unpackhi_epi64(a, b);
    }
};

} // namespace

VectorKernels ssse3Kernels()
{
    return {"ssse3", dealWith<Ssse3>, gatherWith<Ssse3>};
}

} // namespace tamrivel
