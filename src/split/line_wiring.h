#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace tamrivel {

// How a board connects a chip's lines to its bus, where it does not take
// them in order: chip line D0 (or A0) carries bus bit data[0] (address[0]),
// and so on. The chip must then hold each word with its bits, and the words
// at addresses, moved so that the bus reads the image. Words are the chip's
// (DealShape::chipWordBytes()): a 16-bit chip's first byte holds D0 to D7,
// and its addresses count words.
struct LineWiring {
    QList<int> data = {}; // empty: D0 carries bit 0, and so on
    QList<int> address = {}; // empty: A0 carries address bit 0, and so on

    // Chips holding much more are not address-wired parallel EPROMs, and
    // reordering one means holding all of it.
    static constexpr qint64 kMaxAddressWired = qint64(64) << 20;

    bool straight() const { return data.isEmpty() && address.isEmpty(); }
    bool operator==(const LineWiring &) const = default;

    // Empty when a chip of `chipBytes` in words of `wordBytes` can be wired
    // so; otherwise what is wrong, naming the option.
    QString problem(qint64 chipBytes, int wordBytes) const;

    // The word address the bus reads at chip word address `chipWord`; and
    // the other way round.
    qint64 busWord(qint64 chipWord) const;
    qint64 chipWord(qint64 busWord) const;

    // The wiring that also crosses chip lines `first` and `second` of
    // `lines`: what a chip read back with those two exchanged was burnt for.
    // The byte a chip wired so holds for words of `byte`, where every byte
    // of the word holds the same; else none.
    std::optional<uchar> chipByte(uchar byte, int wordBytes) const;

    static QList<int> exchanged(const QList<int> &wiring, int lines, int first, int second);
};

// A wiring as the options take it: "1,0,2,3".
QString linesText(const QList<int> &lines);

// Rewrites whole chip words between the image's bits and the chip's: cheap
// enough for a stream, one table look-up a byte.
class DataLineTable {
public:
    DataLineTable(const QList<int> &data, bool toChip);

    int wordBytes() const { return m_wordBytes; }
    // `size` is a whole number of words.
    void apply(uchar *bytes, qint64 size) const;
    // One word, from its low and high byte (0 for a byte-wide word).
    quint16 word(uchar low, uchar high) const { return m_parts[0][low] | m_parts[1][high]; }

private:
    int m_wordBytes;
    // What each value of a word's low and high byte contributes.
    std::array<std::array<quint16, 256>, 2> m_parts{};
};

// A chip's whole content, `size` bytes of `wordBytes` words, moved from the
// image's order to the chip's, or back. `from` and `to` are apart, unless
// the addresses are in order.
void wireChip(const LineWiring &wiring, int wordBytes, bool toChip, const uchar *from, uchar *to,
              qint64 size);

} // namespace tamrivel
