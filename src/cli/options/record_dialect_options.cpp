#include "record_dialect_options.h"

#include "cli/cli_request.h"
#include "cli/size_argument.h"
#include "cli/words.h"

namespace tamrivel::cli {
namespace {

int recordBytes(const QString &text)
{
    bool ok = false;
    const int bytes = text.toInt(&ok);
    if (!ok || bytes < 1 || bytes > 255)
        throw UsageError{
            UsageError::tr("--record-size takes 1 to 255 data bytes a record, not '%1'").arg(text)};
    return bytes;
}

HexAddressing hexAddressing(const QString &text)
{
    if (text == QLatin1String("linear"))
        return HexAddressing::Linear;
    if (text == QLatin1String("segment"))
        return HexAddressing::Segment;
    throw UsageError{UsageError::tr("--ihex-addressing is linear or segment, not '%1'").arg(text)};
}

int sRecordAddressBytes(const QString &text)
{
    for (const int bits : {16, 24, 32}) {
        if (text == QString::number(bits))
            return bits / 8;
    }
    throw UsageError{UsageError::tr("--srec-address is 16, 24 or 32, not '%1'").arg(text)};
}

qint64 baseAddress(const QString &text)
{
    const std::optional<qint64> base = parseSize(text);
    if (!base || *base >= kRecordAddressLimit)
        throw UsageError{
            UsageError::tr("--base takes an address below 4 GiB such as 0x8000 or 32K, not '%1'").arg(text)};
    return *base;
}

} // namespace

RecordDialectOptions::RecordDialectOptions(FitUse use)
    : m_use(use),
      m_recordSize(
          QStringLiteral("record-size"),
          use == FitUse::Written
              ? Words::tr("Data bytes in each Intel HEX or S-record line, 1 to 255 (default 32; an S-record "
                          "holds at most 250).")
              : Words::tr("Taken as split takes it: records of any size are read."),
          QStringLiteral("N")),
      m_hexAddressing(QStringLiteral("ihex-addressing"),
                      use == FitUse::Written
                          ? Words::tr("How Intel HEX reaches past 64 KiB: linear (default, type 04 records, "
                                      "up to 4 GiB) or segment (type 02, up to 1 MiB).")
                          : Words::tr("Taken as split takes it: linear and segment addresses are both read."),
                      QStringLiteral("linear|segment")),
      m_sRecordAddress(QStringLiteral("srec-address"),
                       use == FitUse::Written
                           ? Words::tr("S-record address width: 16 (S1 and S9, up to 64 KiB), 24 (S2 and S8, "
                                       "up to 16 MiB) or 32 (S3 and S7); by default the narrowest that holds "
                                       "the last address.")
                           : Words::tr("Taken as split takes it: S1, S2 and S3 records are all read."),
                       QStringLiteral("16|24|32")),
      m_base(QStringLiteral("base"),
             use == FitUse::Written
                 ? Words::tr("Number the records from ADDRESS, where the chip sits in the target's memory "
                             "(default 0).")
                 : Words::tr("The record parts are numbered from ADDRESS, as split --base wrote them: "
                             "ADDRESS is taken off every address, and data below it is an error. Raw "
                             "parts have no addresses and are read as they are."),
             QStringLiteral("ADDRESS"))
{
}

void RecordDialectOptions::addTo(VerbParser &parser) const
{
    for (const QCommandLineOption *option : {&m_recordSize, &m_hexAddressing, &m_sRecordAddress, &m_base})
        parser.addOption(*option);
}

RecordDialect RecordDialectOptions::read(const QCommandLineParser &parser, RecordFormat format) const
{
    RecordDialect dialect;
    if (parser.isSet(m_recordSize))
        dialect.recordBytes = recordBytes(parser.value(m_recordSize));
    if (parser.isSet(m_hexAddressing))
        dialect.hexAddressing = hexAddressing(parser.value(m_hexAddressing));
    if (parser.isSet(m_sRecordAddress))
        dialect.sRecordAddressBytes = sRecordAddressBytes(parser.value(m_sRecordAddress));
    if (parser.isSet(m_base))
        dialect.base = baseAddress(parser.value(m_base));
    // Parts are read as their content says, whatever --format says.
    if (m_use == FitUse::Checked)
        return dialect;
    for (const QCommandLineOption *option : {&m_recordSize, &m_hexAddressing, &m_sRecordAddress, &m_base}) {
        if (format == RecordFormat::Binary && parser.isSet(*option))
            throw UsageError{UsageError::tr("--%1 is for records: add --format ihex or --format srec")
                                 .arg(option->names().constFirst())};
    }
    if (format == RecordFormat::SRecord && parser.isSet(m_hexAddressing))
        throw UsageError{UsageError::tr("--ihex-addressing is for --format ihex")};
    if (format == RecordFormat::IntelHex && parser.isSet(m_sRecordAddress))
        throw UsageError{UsageError::tr("--srec-address is for --format srec")};
    return dialect;
}

} // namespace tamrivel::cli
