#pragma once

#include <QtGlobal>

#include <span>

namespace tamrivel {

// Vector code for the deal and the gather, one set per instruction set. Each
// covers whole groups of 16 bytes per part (16 x ways source bytes, always
// whole rounds) and returns how many source bytes it covered; the scalar
// kernels do the rest and stay the reference these are tested against.
struct VectorKernels {
    const char *name;
    qsizetype (*deal)(int ways, int width, bool swap, const uchar *source, qsizetype length,
                      uchar *const *parts);
    qsizetype (*gather)(int ways, int width, bool swap, const uchar *const *parts, qsizetype total,
                        uchar *dest);
};

// The sets this processor can run, plainest first; empty where there are
// none. CMake picks the file that knows the processor family.
std::span<const VectorKernels> vectorKernelsHere();

VectorKernels ssse3Kernels();
VectorKernels avx2Kernels();

} // namespace tamrivel
