#include "wiring_options.h"

#include "cli/cli_request.h"
#include "cli/words.h"

namespace tamrivel::cli {
namespace {

QList<int> linesValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    if (!parser.isSet(option))
        return {};
    QList<int> lines;
    for (const QString &number : parser.value(option).split(QLatin1Char(','))) {
        bool ok = false;
        const int line = number.trimmed().toInt(&ok);
        if (!ok || line < 0)
            throw UsageError{UsageError::tr("--%1 takes line numbers apart by commas, such as "
                                            "1,0,2,3,4,5,6,7, not '%2'")
                                 .arg(option.names().constFirst(), parser.value(option))};
        lines << line;
    }
    return lines;
}

} // namespace

WiringOptions::WiringOptions(VerbParser &parser)
    : m_data(QStringLiteral("data-lines"),
             Words::tr("The board connects chip data line D0 to the bus bit first in LIST, D1 to the "
                       "second, and so on: each bit number once, apart by commas, 8 of them (0 to 7), "
                       "or 16 (0 to 15) for a 16-bit chip (--width 2 or more), whose words hold D0 to "
                       "D7 in their first byte. Each chip holds its bytes so that the bus reads the "
                       "image."),
             QStringLiteral("LIST")),
      m_address(QStringLiteral("address-lines"),
                Words::tr("The board connects chip address line A0 to the bus address bit first in "
                          "LIST, A1 to the second, and so on, counting the chip's words: one for each "
                          "address line of the chip (15 for a byte-wide 32K chip, 18 for a 16-bit "
                          "512K one), whose size must be a power of two."),
                QStringLiteral("LIST"))
{
    parser.addOption(m_data);
    parser.addOption(m_address);
}

LineWiring WiringOptions::read(const QCommandLineParser &parser) const
{
    return {linesValue(parser, m_data), linesValue(parser, m_address)};
}

} // namespace tamrivel::cli
