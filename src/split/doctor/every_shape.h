#pragma once

#include "split/deal_shape.h"
#include "split/part_layout.h"

#include <QList>

#include <algorithm>

namespace tamrivel {

// Every shape a split can deal in, the plainest first: fewer ways, then
// narrower units, unswapped before swapped.
inline QList<DealShape> everyShape()
{
    QList<DealShape> shapes;
    for (int ways = DealShape::kMinWays; ways <= DealShape::kMaxWays; ++ways) {
        for (const int width : {1, 2, 4, 8}) {
            shapes.append({ways, width, false});
            if (width > 1)
                shapes.append({ways, width, true});
        }
    }
    return shapes;
}

inline bool sameShape(const DealShape &one, const DealShape &other)
{
    return one.ways == other.ways && one.width == other.width && one.swap == other.swap;
}

// Where the split starts padding file `file` of `layout` of a source of
// `sourceSize` bytes after the image; -1 when it does not (a mirrored chip
// repeats its image instead).
inline qint64 paddingStart(const PartLayout &layout, qint64 sourceSize, int file)
{
    if (layout.fit().mirror)
        return -1;
    const qint64 dealt = layout.shape().partSize(sourceSize, layout.wayOf(file));
    const qint64 held = std::max<qint64>(0, dealt - qint64(file % layout.banks()) * layout.fit().room());
    const qint64 start = layout.fit().offset + held;
    return start < layout.fileSize(file) ? start : -1;
}

} // namespace tamrivel
