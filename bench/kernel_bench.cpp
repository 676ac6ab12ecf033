// The deal and gather kernels against memcpy of the same block: memcpy moves
// the same bytes with no reordering, the floor for any kernel. The last
// argument picks the code: 1 for the fastest vector kernels here, 0 for the
// scalar reference.
#include "split/kernels/deal_kernel.h"
#include "split/stream/stream_deal.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

using namespace tamrivel;

namespace {

std::vector<uchar> randomBlock(size_t size)
{
    std::vector<uchar> bytes(size);
    std::mt19937 random(42);
    for (auto &byte : bytes)
        byte = uchar(random());
    return bytes;
}

struct Setup {
    DealShape shape;
    qsizetype size;
    const VectorKernels *vectors;
    std::vector<uchar> whole;
    std::vector<std::vector<uchar>> parts;
    std::vector<uchar *> pointers;
    std::vector<qsizetype> lengths;

    explicit Setup(const benchmark::State &state)
        : shape{int(state.range(0)), int(state.range(1)), state.range(2) != 0},
          size(blockBytes(shape)),
          vectors(state.range(3) ? fastestVectorKernels() : nullptr),
          whole(randomBlock(size_t(size))),
          parts(size_t(shape.ways), std::vector<uchar>(size_t(size / shape.ways))),
          lengths(size_t(shape.ways))
    {
        for (auto &part : parts)
            pointers.push_back(part.data());
        dealBlock(shape, whole.data(), size, pointers.data(), lengths.data());
    }
};

void memcpyBlock(benchmark::State &state)
{
    const size_t size = size_t(blockBytes(DealShape{}));
    const std::vector<uchar> source = randomBlock(size);
    std::vector<uchar> dest(size);
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), size);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void dealShape(benchmark::State &state)
{
    Setup s(state);
    for (auto _ : state) {
        dealBlock(s.shape, s.whole.data(), s.size, s.pointers.data(), s.lengths.data(), s.vectors);
        benchmark::DoNotOptimize(s.pointers.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size));
}

void gatherShape(benchmark::State &state)
{
    Setup s(state);
    for (auto _ : state) {
        gatherBlock(s.shape, s.pointers.data(), s.lengths.data(), s.whole.data(), s.vectors);
        benchmark::DoNotOptimize(s.whole.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.size));
}

// ways, width, swap, vectors: the window's pair first, then the shapes that
// stress the shuffles most (many ways, narrow units).
void shapes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"ways", "width", "swap", "vec"});
    for (int vectors : {0, 1}) {
        for (auto [ways, width, swap] : {std::tuple{2, 1, 0},
                                         {2, 2, 1},
                                         {3, 1, 0},
                                         {4, 4, 1},
                                         {5, 2, 0},
                                         {8, 1, 0},
                                         {8, 8, 1},
                                         {16, 1, 0},
                                         {16, 2, 1},
                                         {16, 8, 1}})
            b->Args({ways, width, swap, vectors});
    }
}

} // namespace

BENCHMARK(memcpyBlock);
BENCHMARK(dealShape)->Apply(shapes);
BENCHMARK(gatherShape)->Apply(shapes);
BENCHMARK_MAIN();
