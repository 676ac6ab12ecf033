#include "shape_options.h"

#include "option_values.h"

#include "cli/cli_request.h"
#include "cli/words.h"

namespace tamrivel::cli {

ShapeOptions::ShapeOptions(VerbParser &parser)
    : m_ways(QStringLiteral("ways"),
             Words::tr("Deal to N parts, %1 to %2 (default 2, or as many as named); 1 for one chip "
                       "holding the whole image, such as a 16-bit one.")
                 .arg(DealShape::kMinWays)
                 .arg(DealShape::kMaxWays),
             QStringLiteral("N")),
      m_width(
          QStringLiteral("width"),
          Words::tr("Bytes a turn: %1 (default 1, or 2 for a 16-bit --chip).").arg(DealShape::widthsText()),
          QStringLiteral("W")),
      m_swap(QStringLiteral("swap"), Words::tr("Reverse the byte order inside each W-byte unit."))
{
    for (const QCommandLineOption *option : {&m_ways, &m_width, &m_swap})
        parser.addOption(*option);
}

DealShape ShapeOptions::read(const QCommandLineParser &parser, qsizetype named, bool banks, int width) const
{
    DealShape shape;
    shape.width = numberValue(parser, m_width, width);
    shape.swap = parser.isSet(m_swap);
    const int fallback = named > 0 && !banks ? int(named) : 2;
    shape.ways = numberValue(parser, m_ways, fallback);
    if (named > 0 && !banks && shape.ways != named)
        throw UsageError{
            UsageError::tr("--ways %1 does not match the %2 parts named").arg(shape.ways).arg(named)};
    if (named == 1 && !banks && !parser.isSet(m_ways))
        throw UsageError{UsageError::tr("1 part named: a split has one for each way; for one chip "
                                        "holding the whole image, give --ways 1")};
    if (named > 0 && !banks && !parser.isSet(m_ways) && !shape.problem().isEmpty())
        throw UsageError{UsageError::tr("%1 parts named: a split has from %2 to %3, one for each way")
                             .arg(named)
                             .arg(DealShape::kMinWays)
                             .arg(DealShape::kMaxWays)};
    if (const QString problem = shape.problem(); !problem.isEmpty())
        throw UsageError{problem};
    return shape;
}

} // namespace tamrivel::cli
