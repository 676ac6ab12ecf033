#include "split/part_layout.h"

#include "split/chips/fit_errors.h"
#include "split/output_naming.h"
#include "split/records/record_writer.h"
#include "split/usage_error.h"

namespace tamrivel {

qint64 PartLayout::bankCount(const DealShape &shape, const ChipFit &fit, qint64 sourceSize)
{
    if (fit.chipSize == 0 || !fit.banks)
        return 1;
    const qint64 largest = shape.partSize(sourceSize, 0); // the first way never gets less than the others
    return std::max<qint64>(1, largest / fit.room() + (largest % fit.room() != 0));
}

QString PartLayout::problem(const DealShape &shape, const ChipFit &fit, qint64 sourceSize)
{
    if (const QString problem = shape.problem(); !problem.isEmpty())
        return problem;
    if (fit.chipSize > 0 && fit.offset >= fit.chipSize)
        return QStringLiteral("--offset %1 leaves no room in a chip of %2 bytes")
            .arg(fit.offset)
            .arg(fit.chipSize);
    if (const qint64 banks = bankCount(shape, fit, sourceSize); banks > kMaxOutputFiles / shape.ways)
        return QStringLiteral("--banks of %1 bytes makes %2 chips for each of %3 ways; at most %4 "
                              "files are written at once: is the size mistyped?")
            .arg(fit.chipSize)
            .arg(banks)
            .arg(shape.ways)
            .arg(kMaxOutputFiles);
    return {};
}

PartLayout::PartLayout(const DealShape &shape, const ChipFit &fit, qint64 sourceSize)
    : m_shape(shape), m_fit(fit), m_sourceSize(sourceSize)
{
    if (const QString problem = PartLayout::problem(shape, fit, sourceSize); !problem.isEmpty())
        throw UsageError{problem};
    m_banks = int(bankCount(shape, fit, sourceSize));
}

std::optional<PartLayout> PartLayout::ifWritable(const DealShape &shape, const ChipFit &fit,
                                                 qint64 sourceSize)
{
    if (!problem(shape, fit, sourceSize).isEmpty())
        return std::nullopt;
    PartLayout layout(shape, fit, sourceSize);
    for (int file = 0; file < layout.fileCount(); ++file) {
        if (layout.misfitOf(file) != Misfit::None)
            return std::nullopt;
    }
    return layout;
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

qint64 PartLayout::paddingStart(int file) const
{
    if (m_fit.mirror)
        return -1;
    const qint64 start = m_fit.offset + held(file);
    return start < fileSize(file) ? start : -1;
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

PartLayout::Misfit PartLayout::misfitOf(int file) const
{
    // Only a way's last chip can be given more than it holds.
    const int bank = file % m_banks;
    if (m_fit.chipSize > 0 && bank == m_banks - 1 &&
        dealt(wayOf(file)) - qint64(bank) * m_fit.room() > m_fit.room())
        return Misfit::ChipOverflow;
    if (m_fit.format != RecordFormat::Binary && fileSize(file) > kRecordAddressLimit)
        return Misfit::BeyondRecordAddresses;
    return Misfit::None;
}

void PartLayout::refuseMisfits(const QStringList &names) const
{
    if (names.size() != fileCount())
        throw UsageError{QStringLiteral("%1 files named, but this split has %2 (%3 ways of %4 chips)")
                             .arg(names.size())
                             .arg(fileCount())
                             .arg(m_shape.ways)
                             .arg(m_banks)};
    for (int file = 0; file < fileCount(); ++file) {
        switch (misfitOf(file)) {
        case Misfit::None: break;
        case Misfit::ChipOverflow:
            throw chipOverflow(names[file],
                               m_fit.offset + dealt(wayOf(file)) - qint64(file % m_banks) * m_fit.room(),
                               m_fit.chipSize);
        case Misfit::BeyondRecordAddresses: throw beyondRecordAddresses(names[file]);
        }
    }
}

} // namespace tamrivel
