#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>

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

// Called after each block with the bytes done so far and the expected total
// (0 when the total cannot be known, as for a pipe).
using ProgressFn = std::function<void(qint64 done, qint64 total)>;

// Sees the bytes written to output `index`, in order, as they are written.
using OutputTap = std::function<void(int index, const char *data, qsizetype length)>;

// What a caller may watch while a split or join runs.
struct Watchers {
    ProgressFn progress;
    OutputTap written;
    // Set from any thread to abandon the operation: it stops at the next block
    // and raises Cancelled, leaving every existing file as it was.
    const std::atomic<bool> *stop = nullptr;
    // Told, now and then, while the outputs wait for another run to finish
    // with their folder.
    std::function<void(const QString &folder)> waiting = nullptr;
};

} // namespace tamrivel
