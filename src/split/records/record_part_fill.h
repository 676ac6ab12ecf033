#pragma once

#include "split/deal_shape.h"

#include <QList>

namespace tamrivel {

// The sizes a join reads its parts at. Parts that cannot come from one split
// as they are may be dumps that leave out trailing erased bytes: then the
// record parts, and only they, are filled, to the size of the largest part
// when that fits (chips of one size), or else as little as makes them fit.
// Parts that fit as they are, as a split writes them, are read as they are.
QList<qint64> recordPartSizes(const DealShape &shape, const QList<qint64> &sizes, const QList<bool> &records);

// The same for the chips of a banked split, which are all of one size: the
// largest part's, to which the record parts, and only they, are filled.
QList<qint64> chipPartSizes(const QList<qint64> &sizes, const QList<bool> &records);

} // namespace tamrivel
