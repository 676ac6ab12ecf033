#include "chip_fit_options.h"

#include "option_values.h"

#include "cli/cli_request.h"
#include "cli/words.h"
#include "split/chip_table.h"

namespace tamrivel::cli {
namespace {

Chip namedChip(const QString &name)
{
    if (const std::optional<Chip> chip = findChip(name))
        return *chip;
    throw UsageError{UsageError::tr("unknown chip '%1'; closest: %2 (see 'tamrivel-cli chips')")
                         .arg(name, closestChipNames(name).join(QStringLiteral(", ")))};
}

RecordFormat recordFormat(const QString &name)
{
    if (name == QLatin1String("bin"))
        return RecordFormat::Binary;
    if (name == QLatin1String("ihex"))
        return RecordFormat::IntelHex;
    if (name == QLatin1String("srec"))
        return RecordFormat::SRecord;
    throw UsageError{UsageError::tr("--format is bin, ihex or srec, not '%1'").arg(name)};
}

// The words for `use`: what an option makes, what the parts hold, or what
// the chip buffer holds.
QString forUse(FitUse use, const QString &written, const QString &checked, const QString &summed)
{
    switch (use) {
    case FitUse::Written: return written;
    case FitUse::Checked: return checked;
    case FitUse::Summed: return summed;
    }
    return {};
}

} // namespace

ChipFitOptions::ChipFitOptions(VerbParser &parser, FitUse use)
    : m_oneChip(use == FitUse::Summed),
      m_chip(QStringLiteral("chip"),
             forUse(use,
                    Words::tr("Pad each output to the size of this chip (see 'tamrivel-cli chips'); "
                              "a 16-bit chip makes --width 2 unless --width is given."),
                    Words::tr("The parts are chips of this size, padded as split pads them (see "
                              "'tamrivel-cli chips'); a 16-bit chip makes --width 2 unless --width is "
                              "given."),
                    Words::tr("Sum the buffer of this chip, padded as split pads it (see 'tamrivel-cli "
                              "chips').")),
             QStringLiteral("NAME")),
      m_size(QStringLiteral("size"),
             forUse(use, Words::tr("Pad each output to SIZE bytes."),
                    Words::tr("The parts are SIZE bytes each, padded as split pads them."),
                    Words::tr("Sum a chip buffer of SIZE bytes, padded as split pads it.")),
             QStringLiteral("SIZE")),
      m_fill(QStringLiteral("fill"),
             forUse(use,
                    Words::tr("The padding and gap byte (default 0xFF, an erased EPROM), or mirror to "
                              "fill each chip with copies of what it holds."),
                    Words::tr("The padding and gap byte the parts hold (default 0xFF), or mirror for "
                              "chips filled with copies of what they hold."),
                    Words::tr("The byte the programmer's buffer is cleared to, for padding and a record "
                              "file's gaps (default 0xFF), or mirror for a chip filled with copies of the "
                              "file.")),
             QStringLiteral("BYTE|mirror")),
      m_offset(QStringLiteral("offset"),
               forUse(use, Words::tr("Start the image SIZE bytes into each output, erased bytes before it."),
                      Words::tr("The image starts SIZE bytes into each part, erased bytes before it."),
                      Words::tr("Load each FILE SIZE bytes into the chip buffer, fill before it.")),
               QStringLiteral("SIZE")),
      m_banks(QStringLiteral("banks"),
              use == FitUse::Written
                  ? Words::tr("Cut each way over as many chips as it needs (needs --chip or --size).")
                  : Words::tr("Each way is on as many chips as it needs, the parts listed as split "
                              "lists them (needs --chip or --size).")),
      m_format(QStringLiteral("format"),
               use == FitUse::Written
                   ? Words::tr("Write bin (default), ihex or srec.")
                   : Words::tr("Taken as split takes it: each part is read as raw bytes, Intel HEX or "
                               "S-records, whatever its content says."),
               QStringLiteral("F")),
      m_records(use)
{
    for (const QCommandLineOption *option : {&m_chip, &m_size, &m_fill, &m_offset})
        parser.addOption(*option);
    if (!m_oneChip) {
        parser.addOption(m_banks);
        parser.addOption(m_format);
        m_records.addTo(parser);
    }
}

ChipFit ChipFitOptions::read(const QCommandLineParser &parser) const
{
    ChipFit fit;
    if (parser.isSet(m_chip) && parser.isSet(m_size))
        throw UsageError{UsageError::tr("give --chip or --size, not both")};
    if (parser.isSet(m_chip))
        fit.chipSize = namedChip(parser.value(m_chip)).bytes;
    if (parser.isSet(m_size))
        fit.chipSize = sizeValue(parser, m_size);
    fit.banks = !m_oneChip && parser.isSet(m_banks);
    if (fit.banks && fit.chipSize == 0)
        throw UsageError{UsageError::tr("--banks needs --chip or --size")};
    readFill(parser, m_fill, fit);
    if (parser.isSet(m_offset))
        fit.offset = sizeValue(parser, m_offset);
    if (!m_oneChip && parser.isSet(m_format))
        fit.format = recordFormat(parser.value(m_format));
    if (!m_oneChip)
        fit.records = m_records.read(parser, fit.format);
    return fit;
}

int ChipFitOptions::chipWidth(const QCommandLineParser &parser) const
{
    if (!parser.isSet(m_chip))
        return 1;
    // "16", or "8/16" for those a pin switches: wired for 16 bits, as the
    // whole-image chips are.
    return QByteArrayView(namedChip(parser.value(m_chip)).dataBus).endsWith("16") ? 2 : 1;
}

void readFill(const QCommandLineParser &parser, const QCommandLineOption &fill, ChipFit &fit)
{
    if (!parser.isSet(fill))
        return;
    fit.mirror = parser.value(fill) == QLatin1String("mirror");
    if (!fit.mirror)
        fit.fill = byteValue(parser, fill);
}

} // namespace tamrivel::cli
