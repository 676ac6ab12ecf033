#include "stream_deal.h"

#include "../runtime/runtime_error.h"
#include "deal_kernel.h"

#include <vector>

namespace tamrivel {
namespace {

constexpr qsizetype kTargetBlockBytes = qsizetype(1) << 20;

struct PartBuffers {
    std::vector<std::vector<uchar>> storage;
    std::vector<uchar *> pointers;
    std::vector<qsizetype> lengths;

    PartBuffers(int ways, qsizetype bytesEach)
        : storage(size_t(ways), std::vector<uchar>(size_t(bytesEach))), lengths(size_t(ways))
    {
        for (auto &buffer : storage)
            pointers.push_back(buffer.data());
    }
};

void raiseIfStopped(const Watchers &watchers)
{
    if (watchers.stop && watchers.stop->load(std::memory_order_relaxed))
        throw RuntimeError(ErrorNumber::Cancelled);
}

} // namespace

qsizetype blockBytes(const DealShape &shape)
{
    const qsizetype round = shape.roundBytes();
    return round * std::max<qsizetype>(1, kTargetBlockBytes / round);
}

void dealStream(const NamedDevice &source, const QList<NamedDevice> &parts, const DealShape &shape,
                qint64 expectedTotal, const Watchers &watchers)
{
    const qsizetype block = blockBytes(shape);
    std::vector<uchar> input(static_cast<size_t>(block));
    PartBuffers output(shape.ways, block / shape.ways);
    qint64 done = 0;
    for (;;) {
        raiseIfStopped(watchers);
        const qsizetype got = readFully(source, reinterpret_cast<char *>(input.data()), block);
        if (got == 0)
            break;
        dealBlock(shape, input.data(), got, output.pointers.data(), output.lengths.data());
        writeBlocks(parts, reinterpret_cast<const char *const *>(output.pointers.data()),
                    output.lengths.data());
        done += got;
        if (watchers.progress)
            watchers.progress(done, std::max(expectedTotal, done));
        if (got < block)
            break;
    }
}

void gatherStream(const QList<NamedDevice> &parts, const QList<qint64> &partSizes, const NamedDevice &dest,
                  const DealShape &shape, const Watchers &watchers)
{
    const qsizetype block = blockBytes(shape);
    const qsizetype perPart = block / shape.ways;
    PartBuffers input(shape.ways, perPart);
    std::vector<uchar> output(static_cast<size_t>(block));
    qint64 total = 0;
    for (qint64 size : partSizes)
        total += size;
    QList<qint64> left = partSizes;
    qint64 done = 0;
    while (done < total) {
        raiseIfStopped(watchers);
        qsizetype blockTotal = 0;
        for (int way = 0; way < shape.ways; ++way) {
            const qsizetype want = qsizetype(std::min<qint64>(perPart, left[way]));
            const qsizetype got =
                readFully(parts[way], reinterpret_cast<char *>(input.pointers[size_t(way)]), want);
            if (got != want)
                throw RuntimeError(ErrorNumber::MisfitParts, parts[way].name);
            input.lengths[size_t(way)] = got;
            left[way] -= got;
            blockTotal += got;
        }
        // Only the last block may be short, and then its lengths must be those
        // of one deal; anything else means a part changed under us.
        for (int way = 0; way < shape.ways; ++way) {
            if (input.lengths[size_t(way)] != shape.partSize(blockTotal, way))
                throw RuntimeError(ErrorNumber::MisfitParts, parts[way].name);
        }
        gatherBlock(shape, input.pointers.data(), input.lengths.data(), output.data());
        const char *block = reinterpret_cast<const char *>(output.data());
        writeBlocks({dest}, &block, &blockTotal);
        done += blockTotal;
        if (watchers.progress)
            watchers.progress(done, total);
    }
    char extra = 0;
    for (const NamedDevice &part : parts) {
        if (readFully(part, &extra, 1) != 0)
            throw RuntimeError(ErrorNumber::MisfitParts, part.name);
    }
}

} // namespace tamrivel
