#pragma once

#include "split/deal_shape.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <functional>

namespace tamrivel {

// Bytes in a row that a dump and a way of a split must share, each within
// two bits, before the way is searched for the dump: few enough to outlast
// a stuck or swapped data line, enough that chance seldom makes them.
inline constexpr int kSharedRunBytes = 12;

// Byte `dumpOffset` of a dump is byte `wayOffset` of way `way` of the split
// of shape `shape` (an index into DealShape::every()), and the bytes that
// follow agree.
struct SharedRun {
    qsizetype shape = 0;
    int way = 0;
    qint64 dumpOffset = 0;
    qint64 wayOffset = 0;
};

// Finds where dumps share runs of bytes with the ways of any split of an
// image from the dumps' own bytes, in one read of the image for all of
// them, rather than by trying every place a split could have put each.
class SharedRunSearch {
public:
    SharedRunSearch(const uchar *image, qint64 size);

    // For each dump, the runs it shares with the ways of every shape, looked
    // for from a few places spread over it; none for an empty dump.
    // `stopIfAsked` is called as the image is read.
    QList<QList<SharedRun>> sharedRuns(const QList<QByteArray> &dumps,
                                       const std::function<void()> &stopIfAsked) const;

private:
    QList<qint64> anchorsIn(const QByteArray &dump) const;
    bool sharesRun(const DealShape &shape, qint64 place, const QByteArray &dump, qint64 anchor,
                   SharedRun &run) const;

    const uchar *m_image;
    qint64 m_size;
    std::array<qint64, 256> m_byteCounts{};
};

} // namespace tamrivel
