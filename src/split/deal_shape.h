#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
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
    // The units a data bus takes: a byte, a 16-, 32- or 64-bit word.
    static constexpr std::array<int, 4> kWidths{1, 2, 4, 8};

    // Every shape that can be used, the plainest first: fewer ways, then
    // narrower units, unswapped before swapped.
    static QList<DealShape> every();
    // The widths as a person reads them: "1, 2, 4 or 8".
    static QString widthsText();

    bool operator==(const DealShape &) const = default;

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

struct CommitSeams;

// What a caller may watch while a split or join runs.
struct Watchers {
    ProgressFn progress;
    OutputTap written;
    // Set from any thread to abandon the operation: it stops at the next block
    // and raises Cancelled, leaving every existing file as it was.
    const std::atomic<bool> *stop = nullptr;
    // For tests: how the outputs are placed (the default when null).
    const CommitSeams *seams = nullptr;
    // Told, now and then, while the outputs wait for another run to finish
    // with their folder.
    std::function<void(const QString &folder)> waiting = nullptr;
};

} // namespace tamrivel
