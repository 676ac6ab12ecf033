#include "split/part_layout.h"

#include "split/chips/fit_errors.h"
#include "split/output_naming.h"
#include "split/records/record_writer.h"
#include "split/usage_error.h"

namespace tamrivel {

PartLayout::PartLayout(const DealShape &shape, const ChipFit &fit, qint64 sourceSize)
    : m_shape(shape), m_fit(fit), m_sourceSize(sourceSize)
{
    if (fit.chipSize > 0 && fit.offset >= fit.chipSize)
        throw UsageError{QStringLiteral("--offset %1 leaves no room in a chip of %2 bytes")
                             .arg(fit.offset)
                             .arg(fit.chipSize)};
    if (fit.chipSize > 0 && fit.banks) {
        const qint64 largest = dealt(0); // the first way never gets less than the others
        const qint64 banks = std::max<qint64>(1, largest / fit.room() + (largest % fit.room() != 0));
        if (banks > kMaxOutputFiles / shape.ways)
            throw UsageError{
                QStringLiteral("--banks of %1 bytes makes %2 chips for each of %3 ways; at most %4 "
                               "files are written at once: is the size mistyped?")
                    .arg(fit.chipSize)
                    .arg(banks)
                    .arg(shape.ways)
                    .arg(kMaxOutputFiles)};
        m_banks = int(banks);
    }
}

qint64 PartLayout::bytesOnDisk(int file) const
{
    return m_fit.format == RecordFormat::Binary ? fileSize(file) : RecordWriter::textBound(fileSize(file));
}

qint64 PartLayout::fileSize(int file) const
{
    return m_fit.chipSize > 0 ? m_fit.chipSize : m_fit.offset + dealt(wayOf(file));
}

qint64 PartLayout::held(int file) const
{
    const qint64 before = qint64(file % m_banks) * m_fit.room();
    return std::clamp<qint64>(dealt(wayOf(file)) - before, 0, m_fit.room());
}

qint64 PartLayout::sourceOffset(int file, qint64 offset) const
{
    const int way = wayOf(file);
    if (offset < m_fit.offset)
        return -1;
    qint64 inChip = offset - m_fit.offset;
    if (m_fit.mirror && held(file) > 0)
        inChip %= held(file);
    if (inChip >= held(file))
        return -1;
    const qint64 wayOffset = qint64(file % m_banks) * m_fit.room() + inChip;
    const qint64 unit = wayOffset / m_shape.width;
    const qint64 within = wayOffset % m_shape.width;
    // A short last turn is reversed within what it holds, as the deal does.
    const qint64 unitBytes = std::min<qint64>(m_shape.width, dealt(way) - unit * m_shape.width);
    return unit * m_shape.roundBytes() + qint64(way) * m_shape.width +
        (m_shape.swap ? unitBytes - 1 - within : within);
}

QStringList PartLayout::proposedNames(const QString &source) const
{
    return proposedPartNames(source, m_shape.ways, m_fit.banks ? m_banks : 0, m_fit.format);
}

void PartLayout::refuseMisfits(const QStringList &names) const
{
    for (int file = 0; file < fileCount(); ++file) {
        // Only a way's last chip can be given more than it holds.
        const int bank = file % m_banks;
        const qint64 bytes = dealt(wayOf(file)) - qint64(bank) * m_fit.room();
        if (m_fit.chipSize > 0 && bank == m_banks - 1 && bytes > m_fit.room())
            throw chipOverflow(names[file], m_fit.offset + bytes, m_fit.chipSize);
        if (m_fit.format != RecordFormat::Binary && fileSize(file) > kRecordAddressLimit)
            throw beyondRecordAddresses(names[file]);
    }
}

} // namespace tamrivel
