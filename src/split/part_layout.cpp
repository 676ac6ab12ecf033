#include "split/part_layout.h"

#include "split/chips/fit_errors.h"
#include "split/output_naming.h"
#include "split/records/record_writer.h"
#include "split/usage_error.h"

#include <algorithm>

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
    if (const QString noRoom = noRoomProblem(fit); !noRoom.isEmpty())
        return noRoom;
    if (const qint64 banks = bankCount(shape, fit, sourceSize); banks > kMaxOutputFiles / shape.ways)
        return UsageError::tr("--banks of %1 bytes makes %2 chips for each of %3 ways; at most %4 "
                              "files are written at once: is the size mistyped?")
            .arg(fit.chipSize)
            .arg(banks)
            .arg(shape.ways)
            .arg(kMaxOutputFiles);
    for (int way = 0; !fit.wiring.straight() && way < shape.ways; ++way) {
        if (const QString problem =
                fit.wiring.problem(fileSizeOf(shape, fit, sourceSize, way), shape.chipWordBytes());
            !problem.isEmpty())
            return problem;
    }
    const qint64 largestFile = fit.chipSize > 0 ? fit.chipSize : fit.offset + shape.partSize(sourceSize, 0);
    return recordReachProblem(fit.format, fit.records, largestFile);
}

qint64 PartLayout::fileSizeOf(const DealShape &shape, const ChipFit &fit, qint64 sourceSize, int way)
{
    return fit.chipSize > 0 ? fit.chipSize : fit.offset + shape.partSize(sourceSize, way);
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
    return m_fit.format == RecordFormat::Binary
        ? fileSize(file)
        : RecordWriter::textBound(fileSize(file), m_fit.records.recordBytes);
}

qint64 PartLayout::fileSize(int file) const
{
    return fileSizeOf(m_shape, m_fit, m_sourceSize, wayOf(file));
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
    const int word = m_shape.chipWordBytes();
    const qint64 inWay = wayOffset(file, m_fit.wiring.busWord(offset / word) * word + offset % word);
    return inWay < 0 ? -1 : m_shape.sourceOffset(wayOf(file), inWay, m_sourceSize);
}

qint64 PartLayout::wayOffset(int file, qint64 offset) const
{
    if (offset < m_fit.offset)
        return -1;
    qint64 inChip = offset - m_fit.offset;
    const qint64 fileHeld = held(file);
    if (m_fit.mirror && fileHeld > 0)
        inChip %= fileHeld;
    if (inChip >= fileHeld)
        return -1;
    return qint64(file % m_banks) * m_fit.room() + inChip;
}

void PartLayout::gather(int file, qint64 offset, qint64 count, const uchar *source, uchar *out) const
{
    Q_ASSERT(m_fit.wiring.straight());
    const qint64 bankStart = qint64(file % m_banks) * m_fit.room();
    while (count > 0) {
        const qint64 inWay = wayOffset(file, offset);
        // Up to where the file's image, or one copy of it, ends; or the
        // padding before or after it.
        const qint64 run = inWay >= 0 ? std::min(count, held(file) - (inWay - bankStart))
            : offset < m_fit.offset   ? std::min(count, m_fit.offset - offset)
                                      : count;
        if (inWay >= 0)
            m_shape.gather(wayOf(file), inWay, run, m_sourceSize, source, out);
        else
            std::fill_n(out, run, m_fit.fill);
        offset += run;
        count -= run;
        out += run;
    }
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
        throw UsageError{UsageError::tr("%1 files named, but this split has %2 (%3 ways of %4 chips)")
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
