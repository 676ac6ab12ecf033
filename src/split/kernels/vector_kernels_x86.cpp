#include "split/kernels/vector_kernels.h"

#include <vector>

namespace tamrivel {

std::span<const VectorKernels> vectorKernelsHere()
{
    static const std::vector<VectorKernels> here = [] {
        std::vector<VectorKernels> sets;
        __builtin_cpu_init();
        if (__builtin_cpu_supports("ssse3"))
            sets.push_back(ssse3Kernels());
        if (__builtin_cpu_supports("avx2"))
            sets.push_back(avx2Kernels());
        return sets;
    }();
    return here;
}

} // namespace tamrivel
