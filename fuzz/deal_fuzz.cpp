// libFuzzer target: the deal and gather kernels, scalar and every vector set
// this processor runs, must round-trip any input in any shape, at any
// alignment of the parts, and the join-size check must accept exactly the
// sizes a split produces. Build and run with `make fuzz`.
#include "../tests/reference_deal.h"
#include "split/kernels/deal_kernel.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tamrivel;

namespace {

DealShape shapeFrom(const uint8_t *data)
{
    DealShape shape;
    shape.ways = DealShape::kMinWays + data[0] % (DealShape::kMaxWays - DealShape::kMinWays + 1);
    shape.width = 1 << (data[1] % 4);
    shape.swap = shape.width > 1 && (data[2] & 1);
    return shape;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void kernelsRoundTrip(const DealShape &shape, const uint8_t *data, size_t size, size_t skew,
                      const VectorKernels *vectors)
{
    const QByteArray source(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> expected =
        tamrivel::testing::referenceDeal(source, shape.ways, shape.width, shape.swap);
    std::vector<std::vector<uchar>> parts(size_t(shape.ways));
    std::vector<uchar *> pointers;
    for (int way = 0; way < shape.ways; ++way) {
        parts[size_t(way)].resize(size_t(shape.partSize(qint64(size), way)) + skew);
        pointers.push_back(parts[size_t(way)].data() + skew);
    }
    std::vector<qsizetype> lengths(size_t(shape.ways));
    dealBlock(shape, data, qsizetype(size), pointers.data(), lengths.data(), vectors);
    for (int way = 0; way < shape.ways; ++way) {
        check(lengths[size_t(way)] == expected[way].size());
        check(lengths[size_t(way)] == 0 ||
              std::memcmp(pointers[size_t(way)], expected[way].constData(), size_t(lengths[size_t(way)])) ==
                  0);
    }
    std::vector<uchar> joined(size + skew);
    gatherBlock(shape, pointers.data(), lengths.data(), joined.data() + skew, vectors);
    check(size == 0 || std::memcmp(joined.data() + skew, data, size) == 0);
}

// Sizes read from the input itself: they fit exactly when a naive deal of
// their sum gives them back.
void joinSizesChecked(const DealShape &shape, const uint8_t *data, size_t size)
{
    QList<qint64> sizes;
    qint64 total = 0;
    for (int way = 0; way < shape.ways; ++way) {
        const qint64 partSize = size > size_t(way) ? data[way] : 0;
        sizes.append(partSize);
        total += partSize;
    }
    const QList<QByteArray> dealt =
        tamrivel::testing::referenceDeal(QByteArray(total, 'x'), shape.ways, shape.width, shape.swap);
    bool fits = true;
    for (int way = 0; way < shape.ways; ++way)
        fits = fits && dealt[way].size() == sizes[way];
    check(shape.fitsOneSplit(sizes) == fits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const DealShape shape = shapeFrom(data);
    const size_t skew = data[2] >> 3;
    kernelsRoundTrip(shape, data + 3, size - 3, skew, nullptr);
    for (const VectorKernels &vectors : vectorKernelsHere())
        kernelsRoundTrip(shape, data + 3, size - 3, skew, &vectors);
    joinSizesChecked(shape, data + 3, size - 3);
    return 0;
}
