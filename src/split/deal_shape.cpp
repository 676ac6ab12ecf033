#include "split/deal_shape.h"

#include "split/usage_error.h"

#include <QStringList>

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

qint64 DealShape::sourceOffset(int way, qint64 wayOffset, qint64 total) const
{
    const qint64 unit = wayOffset / width;
    const qint64 within = wayOffset % width;
    const qint64 turnStart = unit * roundBytes() + qint64(way) * width;
    // A short last turn is reversed within what it holds, as the deal does.
    const qint64 turnBytes = std::min<qint64>(width, total - turnStart);
    return turnStart + (swap ? turnBytes - 1 - within : within);
}

void DealShape::gather(int way, qint64 wayOffset, qint64 count, qint64 total, const uchar *source,
                       uchar *out) const
{
    // Turn by turn, dividing once: this fills whole parts.
    qint64 within = wayOffset % width;
    qint64 turnStart = wayOffset / width * roundBytes() + qint64(way) * width;
    for (; count > 0; turnStart += roundBytes(), within = 0) {
        const qint64 turnBytes = std::min<qint64>(width, total - turnStart);
        for (; within < turnBytes && count > 0; ++within, --count)
            *out++ = source[turnStart + (swap ? turnBytes - 1 - within : within)];
    }
}

std::pair<int, qint64> DealShape::wayPlace(qint64 offset, qint64 total) const
{
    const qint64 round = offset / roundBytes();
    const int way = int(offset % roundBytes() / width);
    const qint64 turnStart = round * roundBytes() + qint64(way) * width;
    const qint64 turnBytes = std::min<qint64>(width, total - turnStart);
    const qint64 within = offset - turnStart;
    return {way, round * width + (swap ? turnBytes - 1 - within : within)};
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

QList<DealShape> DealShape::every()
{
    QList<DealShape> shapes;
    for (int ways = kMinWays; ways <= kMaxWays; ++ways) {
        for (const int width : kWidths) {
            for (const bool swap : {false, true}) {
                const DealShape shape{ways, width, swap};
                if (shape.problem().isEmpty() && (ways > 1 || swap || width == 1))
                    shapes.append(shape);
            }
        }
    }
    return shapes;
}

QString DealShape::widthsText()
{
    QStringList widths;
    for (const int width : kWidths)
        widths << QString::number(width);
    const QString last = widths.takeLast();
    return widths.join(QStringLiteral(", ")) + UsageError::tr(" or ") + last;
}

QString DealShape::problem() const
{
    if (ways < kMinWays || ways > kMaxWays)
        return UsageError::tr("ways must be from %1 to %2").arg(kMinWays).arg(kMaxWays);
    if (std::find(kWidths.cbegin(), kWidths.cend(), width) == kWidths.cend())
        return UsageError::tr("width must be %1").arg(widthsText());
    if (swap && width < 2)
        return UsageError::tr("swap needs a width of 2 or more");
    return QString();
}

} // namespace tamrivel
