#include "split/kernels/vector_kernels.h"

namespace tamrivel {

// No vector code for this processor family: the scalar kernels do it all.
std::span<const VectorKernels> vectorKernelsHere()
{
    return {};
}

} // namespace tamrivel
