#include "verb_parser.h"

#include "cli/cli_request.h"
#include "cli/console_text.h"
#include "cli/nearest_word.h"
#include "cli/words.h"

namespace tamrivel::cli {
namespace {

// Qt fits the options' descriptions to a terminal's 80 columns, but not the
// description above them.
QString wrapped(const QString &text)
{
    constexpr qsizetype kWidth = 79;
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        for (qsizetype cut; line.size() > kWidth && (cut = line.lastIndexOf(QLatin1Char(' '), kWidth)) > 0;) {
            lines.append(line.first(cut));
            line.remove(0, cut + 1);
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString helpWithUsage(const QCommandLineParser &parser, const QString &usage)
{
    const QString text = parser.helpText();
    return wrapped(usage + text.sliced(text.indexOf(QLatin1Char('\n'))));
}

VerbParser::VerbParser(const Verb &verb, const QString &description)
    : m_verb(verb), m_help({QStringLiteral("h"), QStringLiteral("help")}, Words::tr("Show this help."))
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(m_help);
}

void VerbParser::addOption(const QCommandLineOption &option)
{
    m_parser.addOption(option);
    for (const QString &name : option.names()) {
        if (name.size() > 1)
            m_longOptions << name;
    }
}

void VerbParser::describeFiles(const QString &name, const QString &description, const QString &syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
}

bool VerbParser::parse(const QStringList &arguments)
{
    // Qt takes the first argument for the program's name.
    if (!m_parser.parse(QStringList{m_verb.name} + arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        if (unknown.isEmpty())
            throw UsageError{m_parser.errorText()};
        const QString &typed = unknown.constFirst();
        const QString dashes = typed.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        QString message = UsageError::tr("%1 does not take %2%3").arg(m_verb.name, dashes, typed);
        if (const QString nearest = typed.size() > 1 ? nearestWord(typed, m_longOptions) : QString();
            !nearest.isEmpty())
            message += UsageError::tr(": did you mean --%1?").arg(nearest);
        throw UsageError{message};
    }
    if (!m_parser.isSet(m_help))
        return true;
    say(helpWithUsage(
        m_parser,
        Words::tr("Usage: tamrivel-cli %1 [options] %2").arg(m_verb.name, m_verb.synopsis).trimmed()));
    return false;
}

} // namespace tamrivel::cli
