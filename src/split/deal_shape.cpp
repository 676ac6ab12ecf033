#include "split/deal_shape.h"

#include <algorithm>

namespace tamrivel {

qint64 DealShape::partSize(qint64 total, int index) const
{
    const qint64 round = roundBytes();
    const qint64 rounds = total / round;
    const qint64 tail = total % round;
    const qint64 tailShare = std::clamp<qint64>(tail - qint64(index) * width, 0, width);
    return rounds * width + tailShare;
}

bool DealShape::fitsOneSplit(const QList<qint64> &partSizes) const
{
    if (partSizes.size() != ways)
        return false;
    qint64 total = 0;
    for (qint64 size : partSizes) {
        if (size < 0)
            return false;
        total += size;
    }
    for (int way = 0; way < ways; ++way) {
        if (partSizes[way] != partSize(total, way))
            return false;
    }
    return true;
}

QString DealShape::problem() const
{
    if (ways < kMinWays || ways > kMaxWays)
        return QStringLiteral("ways must be from %1 to %2").arg(kMinWays).arg(kMaxWays);
    if (width != 1 && width != 2 && width != 4 && width != 8)
        return QStringLiteral("width must be 1, 2, 4 or 8");
    if (swap && width < 2)
        return QStringLiteral("swap needs a width of 2 or more");
    return QString();
}

} // namespace tamrivel
