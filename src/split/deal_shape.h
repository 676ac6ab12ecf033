#pragma once

// verify_parts.h takes Watchers beside a shape and finds them through here.
#include "split/watchers.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace tamrivel {

// How a source is dealt to its parts: round-robin to `ways` parts, `width`
// bytes a turn, with the bytes of each turn reversed when `swap` is set.
// The window's split is the default: two ways, one byte a turn.
struct DealShape {
    int ways = 2;
    int width = 1;
    bool swap = false;

    static constexpr int kMinWays = 2;
    static constexpr int kMaxWays = 16;

    qsizetype roundBytes() const { return qsizetype(ways) * width; }

    // How many of `total` source bytes part `index` receives: whole turns
    // first, then its share of a short last round.
    qint64 partSize(qint64 total, int index) const;

    // True when parts of these sizes can come from one split of this shape.
    bool fitsOneSplit(const QList<qint64> &partSizes) const;

    // Empty when the shape can be used, otherwise what is wrong with it.
    QString problem() const;
};

} // namespace tamrivel
