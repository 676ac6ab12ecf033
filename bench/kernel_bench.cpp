// The de-interleaving kernel against memcpy of the same block: memcpy moves
// the same bytes with no reordering, the floor for any kernel.
#include "split/deal_kernel.h"
#include "split/stream_deal.h"

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

void dealBlockShape(benchmark::State &state)
{
    const DealShape shape{int(state.range(0)), int(state.range(1)), state.range(2) != 0};
    const qsizetype size = blockBytes(shape);
    const std::vector<uchar> source = randomBlock(size_t(size));
    std::vector<std::vector<uchar>> parts(size_t(shape.ways), std::vector<uchar>(size_t(size / shape.ways)));
    std::vector<uchar *> pointers;
    for (auto &part : parts)
        pointers.push_back(part.data());
    std::vector<qsizetype> lengths(size_t(shape.ways));
    for (auto _ : state) {
        dealBlock(shape, source.data(), size, pointers.data(), lengths.data());
        benchmark::DoNotOptimize(pointers.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void gatherPairs(benchmark::State &state)
{
    const DealShape shape;
    const qsizetype size = blockBytes(shape);
    const std::vector<uchar> even = randomBlock(size_t(size / 2)), odd = randomBlock(size_t(size / 2));
    const uchar *parts[] = {even.data(), odd.data()};
    const qsizetype lengths[] = {size / 2, size / 2};
    std::vector<uchar> dest(static_cast<size_t>(size));
    for (auto _ : state) {
        gatherBlock(shape, parts, lengths, dest.data());
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

} // namespace

BENCHMARK(memcpyBlock);
// ways, width, swap: the window's pair first.
BENCHMARK(dealBlockShape)
    ->Args({2, 1, 0})
    ->Args({2, 2, 0})
    ->Args({2, 2, 1})
    ->Args({4, 1, 0})
    ->Args({4, 4, 1});
BENCHMARK(gatherPairs);
BENCHMARK_MAIN();
