#include "split/records/record_part_fill.h"

#include <algorithm>

namespace tamrivel {
namespace {

// The least source size whose part `way` holds at least `size` bytes.
qint64 leastTotalFor(const DealShape &shape, int way, qint64 size)
{
    if (size == 0)
        return 0;
    const qint64 turns = (size - 1) / shape.width; // whole turns before the last byte
    return turns * shape.roundBytes() + qint64(way) * shape.width + (size - turns * shape.width);
}

// `sizes` with each record part grown to `target(way)`, never shrunk.
template <typename Target>
QList<qint64> grown(const QList<qint64> &sizes, const QList<bool> &records, Target &&target)
{
    QList<qint64> filled = sizes;
    for (int way = 0; way < filled.size(); ++way) {
        if (records[way])
            filled[way] = std::max(filled[way], target(way));
    }
    return filled;
}

} // namespace

QList<qint64> recordPartSizes(const DealShape &shape, const QList<qint64> &sizes, const QList<bool> &records)
{
    if (sizes.isEmpty() || shape.fitsOneSplit(sizes))
        return sizes;
    const qint64 largest = *std::max_element(sizes.begin(), sizes.end());
    const QList<qint64> peers = grown(sizes, records, [&](int) { return largest; });
    if (shape.fitsOneSplit(peers))
        return peers;
    qint64 total = 0;
    for (int way = 0; way < sizes.size(); ++way)
        total = std::max(total, leastTotalFor(shape, way, sizes[way]));
    const QList<qint64> least = grown(sizes, records, [&](int way) { return shape.partSize(total, way); });
    return shape.fitsOneSplit(least) ? least : sizes;
}

QList<qint64> chipPartSizes(const QList<qint64> &sizes, const QList<bool> &records)
{
    if (sizes.isEmpty())
        return sizes;
    const qint64 chip = *std::max_element(sizes.begin(), sizes.end());
    return grown(sizes, records, [&](int) { return chip; });
}

} // namespace tamrivel
