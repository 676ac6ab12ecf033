#pragma once

#include "split/deal_shape.h"
#include "split/kernels/vector_kernels.h"

namespace tamrivel {

// The fastest vector kernels this processor runs, or null for none; or the
// set that TAMRIVEL_KERNELS names, null for "scalar".
const VectorKernels *fastestVectorKernels();

// Deals `length` bytes of `source`, which starts on a round boundary, into
// `parts` (one buffer per way, each large enough for its share), and stores
// in `partLengths` how many bytes each part received. With `vectors` null the
// scalar code does it all.
void dealBlock(const DealShape &shape, const uchar *source, qsizetype length, uchar *const *parts,
               qsizetype *partLengths, const VectorKernels *vectors = fastestVectorKernels());

// The inverse: interleaves the parts back into `dest`, which receives the sum
// of `partLengths`. The lengths must be those a dealBlock of that sum gives.
void gatherBlock(const DealShape &shape, const uchar *const *parts, const qsizetype *partLengths, uchar *dest,
                 const VectorKernels *vectors = fastestVectorKernels());

} // namespace tamrivel
