#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <utility>

namespace tamrivel {

// How a source is dealt to its parts: round-robin to `ways` parts, `width`
// bytes a turn, with the bytes of each turn reversed when `swap` is set.
// The window's split is the default: two ways, one byte a turn.
struct DealShape {
    int ways = 2;
    int width = 1;
    bool swap = false;

    // One way: a 16-bit chip holding the whole image.
    static constexpr int kMinWays = 1;
    static constexpr int kMaxWays = 16;
    // The units a data bus takes: a byte, a 16-, 32- or 64-bit word.
    static constexpr std::array<int, 4> kWidths{1, 2, 4, 8};

    // Every shape that can be used, the plainest first: fewer ways, then
    // narrower units, unswapped before swapped. One way unswapped is listed
    // only a byte a turn, as wider turns deal it the same.
    static QList<DealShape> every();
    // The widths as a person reads them: "1, 2, 4 or 8".
    static QString widthsText();

    bool operator==(const DealShape &) const = default;

    qsizetype roundBytes() const { return qsizetype(ways) * width; }
    // The word a chip of a part takes on its data bus: a byte, or 16 bits
    // for a part dealt two or more bytes a turn, whose first byte is the
    // low one (D0 to D7), as programmers load a 16-bit chip's file.
    int chipWordBytes() const { return width >= 2 ? 2 : 1; }

    // How many of `total` source bytes part `index` receives: whole turns
    // first, then its share of a short last round.
    qint64 partSize(qint64 total, int index) const;

    // Where byte `wayOffset` of part `way` comes from in a source of `total`
    // bytes.
    qint64 sourceOffset(int way, qint64 wayOffset, qint64 total) const;
    // Copies `count` bytes of part `way` from `wayOffset` on, out of a
    // source of `total` bytes held at `source`.
    void gather(int way, qint64 wayOffset, qint64 count, qint64 total, const uchar *source, uchar *out) const;
    // Which part byte `offset` of a source of `total` bytes goes to, and
    // where in it: {way, offset in the way}.
    std::pair<int, qint64> wayPlace(qint64 offset, qint64 total) const;

    // True when parts of these sizes can come from one split of this shape.
    bool fitsOneSplit(const QList<qint64> &partSizes) const;

    // Empty when the shape can be used, otherwise what is wrong with it.
    QString problem() const;
};

} // namespace tamrivel
