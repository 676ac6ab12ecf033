#pragma once

#include "split/chip_fit.h"
#include "split/deal_shape.h"

#include <QStringList>

#include <optional>

namespace tamrivel {

// The most files one split writes. A board holds tens of chips, and 16 ways
// of 256 banks is already more than any bus; beyond this a size was mistyped
// (32 for 32K), and the files would only exhaust the open-file limit and the
// disk's folder.
inline constexpr qint64 kMaxOutputFiles = 4096;

// The files a split of `sourceSize` bytes writes, listed way by way and bank
// by bank within a way, and what each one holds. With banks, every way gets
// the same number of chips, so that a bank is one chip per byte lane.
class PartLayout {
public:
    // Raises UsageError, naming the count, for more than kMaxOutputFiles
    // files, for an offset that leaves a chip no room, and for record
    // addresses that cannot reach a file's end from their base.
    PartLayout(const DealShape &shape, const ChipFit &fit, qint64 sourceSize);

    // The layout, when a split of this shape and fit can be written, every
    // way on its chips; otherwise none. For those that try shapes and fits
    // in turn, where a refusal is an answer rather than an error.
    static std::optional<PartLayout> ifWritable(const DealShape &shape, const ChipFit &fit,
                                                qint64 sourceSize);

    const DealShape &shape() const { return m_shape; }
    const ChipFit &fit() const { return m_fit; }
    int banks() const { return m_banks; }
    int fileCount() const { return m_shape.ways * m_banks; }
    int wayOf(int file) const { return file / m_banks; }

    // Bytes file `file` holds, padding included.
    qint64 fileSize(int file) const;
    // Bytes of its way file `file` holds, before any padding or copy.
    qint64 held(int file) const;
    // Where the split starts padding file `file` after its image; -1 when it
    // does not (a mirrored chip repeats its image instead).
    qint64 paddingStart(int file) const;
    // Bytes file `file` takes on the disk: its size, or for a record file at
    // most what the record text holding that many bytes takes.
    qint64 bytesOnDisk(int file) const;
    // Where byte `offset` of file `file` comes from in the source, through
    // the wiring's address lines and the mirror's copies; -1 for padding.
    // Data lines wired across a 16-bit word mix its bytes: the byte at the
    // same place in the word is named.
    qint64 sourceOffset(int file, qint64 offset) const;
    // The place of byte `offset` of a file wired straight, counted in the
    // file's way rather than the source.
    qint64 wayOffset(int file, qint64 offset) const;
    // Copies `count` bytes of file `file` from `offset` on, padding and
    // copies included, out of the source held at `source`. For a fit wired
    // straight: those that try fits in turn search the wiring given apart.
    void gather(int file, qint64 offset, qint64 count, const uchar *source, uchar *out) const;

    // The names a split writes when none are given: the window's _g and _k
    // for a pair, numbers for more ways, then the bank number, then .bin,
    // .hex or .srec.
    QStringList proposedNames(const QString &source) const;

    // Before anything is written or compared: raises UsageError for a count
    // of names other than the layout's, ChipOverflow, naming the file, for a
    // way that does not fit its chip, and InvalidArgument for a record file
    // beyond 32-bit addresses.
    void refuseMisfits(const QStringList &names) const;

private:
    enum class Misfit { None, ChipOverflow, BeyondRecordAddresses };

    // Empty when the shape and fit can be laid out at all; else why not.
    static QString problem(const DealShape &shape, const ChipFit &fit, qint64 sourceSize);
    static qint64 bankCount(const DealShape &shape, const ChipFit &fit, qint64 sourceSize);
    static qint64 fileSizeOf(const DealShape &shape, const ChipFit &fit, qint64 sourceSize, int way);
    qint64 dealt(int way) const { return m_shape.partSize(m_sourceSize, way); }
    Misfit misfitOf(int file) const;

    DealShape m_shape;
    ChipFit m_fit;
    qint64 m_sourceSize;
    int m_banks = 1;
};

} // namespace tamrivel
