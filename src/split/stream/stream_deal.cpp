#include "split/stream/stream_deal.h"

#include "runtime/runtime_error.h"
#include "split/kernels/deal_kernel.h"
#include "split/stream/aligned_buffer.h"
#include "split/stream/block_writer.h"

#include <vector>

namespace tamrivel {
namespace {

constexpr qsizetype kTargetBlockBytes = qsizetype(1) << 20;

// One buffer per way; the streams keep two such sets so that one is dealt
// while the other is written.
struct BufferSet {
    std::vector<AlignedBuffer> storage;
    std::vector<uchar *> pointers;
    std::vector<qsizetype> lengths;

    BufferSet(int count, qsizetype bytesEach) : lengths(size_t(count))
    {
        for (int i = 0; i < count; ++i)
            pointers.push_back(storage.emplace_back(bytesEach).data());
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
    AlignedBuffer input(block);
    BufferSet sets[2] = {{shape.ways, block / shape.ways}, {shape.ways, block / shape.ways}};
    BlockWriter writer(parts);
    qint64 done = 0;
    for (int turn = 0;; turn ^= 1) {
        raiseIfStopped(watchers);
        const qsizetype got = readFully(source, reinterpret_cast<char *>(input.data()), block);
        if (got == 0)
            break;
        BufferSet &set = sets[turn];
        dealBlock(shape, input.data(), got, set.pointers.data(), set.lengths.data());
        writer.write(set.pointers.data(), set.lengths.data());
        done += got;
        if (watchers.progress)
            watchers.progress(done, std::max(expectedTotal, done));
        if (got < block)
            break;
    }
    writer.finish();
}

void gatherStream(const QList<NamedDevice> &parts, const QList<qint64> &partSizes, const NamedDevice &dest,
                  const DealShape &shape, const Watchers &watchers)
{
    const qsizetype block = blockBytes(shape);
    const qsizetype perPart = block / shape.ways;
    BufferSet input(shape.ways, perPart);
    BufferSet sets[2] = {{1, block}, {1, block}};
    BlockWriter writer({dest});
    qint64 total = 0;
    for (qint64 size : partSizes)
        total += size;
    QList<qint64> left = partSizes;
    qint64 done = 0;
    for (int turn = 0; done < total; turn ^= 1) {
        raiseIfStopped(watchers);
        qsizetype blockTotal = 0;
        for (int way = 0; way < shape.ways; ++way) {
            const qsizetype want = qsizetype(std::min<qint64>(perPart, left[way]));
            const qsizetype got =
                readFully(parts[way], reinterpret_cast<char *>(input.pointers[size_t(way)]), want);
            // Each part was measured before the join: a short read is a change.
            if (got != want)
                throw RuntimeError(ErrorNumber::FileChanged, parts[way].name);
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
        BufferSet &set = sets[turn];
        gatherBlock(shape, input.pointers.data(), input.lengths.data(), set.pointers[0]);
        set.lengths[0] = blockTotal;
        writer.write(set.pointers.data(), set.lengths.data());
        done += blockTotal;
        if (watchers.progress)
            watchers.progress(done, total);
    }
    writer.finish();
}

} // namespace tamrivel
