#include "command_line.h"

#include "cli/words.h"
#include "cli_request.h"
#include "console_text.h"
#include "exit_status.h"
#include "nearest_word.h"
#include "options/verb_parser.h"
#include "product.h"
#include "runtime/runtime_error.h"
#include "verbs/chips_verb.h"
#include "verbs/compare_verb.h"
#include "verbs/identify_verb.h"
#include "verbs/join_verb.h"
#include "verbs/split_verb.h"
#include "verbs/sum_verb.h"
#include "verbs/verify_verb.h"

namespace tamrivel::cli {
namespace {

const QList<Verb> &verbs()
{
    static const QList<Verb> all{splitVerb(),   joinVerb(), verifyVerb(), identifyVerb(),
                                 compareVerb(), sumVerb(),  chipsVerb()};
    return all;
}

const Verb &findVerb(const QString &name)
{
    QStringList names;
    for (const Verb &verb : verbs()) {
        if (verb.name == name)
            return verb;
        names << verb.name;
    }
    if (const QString nearest = nearestWord(name, names); !nearest.isEmpty())
        throw UsageError{UsageError::tr("unknown command '%1': did you mean '%2'?").arg(name, nearest)};
    throw UsageError{
        UsageError::tr("unknown command '%1': say split, join, verify, identify, compare, sum or chips")
            .arg(name)};
}

QString description()
{
    QString text = Words::tr(
        "Splits a ROM image into the images of its chips by dealing bytes round-robin, joins chip images "
        "back into one, checks chips read back against the image and against each other, and shows the "
        "sums a programmer shows.\n\nCommands:\n");
    for (const Verb &verb : verbs())
        text += QStringLiteral("  %1  %2  %3\n").arg(verb.name, -8).arg(verb.synopsis, -18).arg(verb.summary);
    return text +
        Words::tr("\n'tamrivel-cli help COMMAND' or 'tamrivel-cli COMMAND --help' shows the "
                  "command's options.");
}

} // namespace

int reportFailure(const std::exception &raised, int failed)
{
    const RuntimeError error = RuntimeError::from(raised);
    say(Words::tr("tamrivel-cli: error %1: ").arg(error.code()) + error.description() + QLatin1Char('\n'),
        stderr);
    return error.number() == ErrorNumber::Cancelled ? Interrupted : failed;
}

int runCommandLine(const QStringList &arguments, const std::atomic<bool> *stop)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    // The options after the verb are the verb's.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        Words::tr("Show this help."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           Words::tr("Show the version."));
    parser.addOptions({helpOption, versionOption});
    if (!parser.parse(arguments)) {
        if (parser.unknownOptionNames().isEmpty())
            throw UsageError{parser.errorText()};
        // -V for -v: a slip, not a command's option put first.
        const QString typed = parser.unknownOptionNames().constFirst();
        for (const QCommandLineOption &option : {helpOption, versionOption}) {
            if (option.names().contains(typed.toLower()) ||
                !nearestWord(typed, {option.names().constLast()}).isEmpty())
                throw UsageError{UsageError::tr("unknown option '%1%2': did you mean --%3?")
                                     .arg(typed.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                                          typed, option.names().constLast())};
        }
        throw UsageError{UsageError::tr("a command's options follow it, as in 'tamrivel-cli split --ways 4 "
                                        "rom.bin'")};
    }
    const QString help = helpWithUsage(parser,
                                       Words::tr("Usage: tamrivel-cli COMMAND [options] FILE...\n"
                                                 "       tamrivel-cli help COMMAND"));
    if (parser.isSet(helpOption)) {
        say(help);
        return Success;
    }
    if (parser.isSet(versionOption)) {
        say(QStringLiteral("tamrivel-cli %1\n").arg(QString::fromLatin1(kProductVersion)));
        return Success;
    }

    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        throw UsageError{UsageError::tr("say split, join, verify, identify, compare, sum or chips")};
    if (words.constFirst() == QLatin1String("help")) {
        if (words.size() == 1) {
            say(help);
            return Success;
        }
        if (words.size() > 2)
            throw UsageError{UsageError::tr("help takes one command")};
        words = {words[1], QStringLiteral("--help")};
    }
    const Verb &verb = findVerb(words.takeFirst());
    try {
        return verb.run(words, stop);
    } catch (UsageError &error) {
        error.verb = verb.name;
        throw;
    } catch (const std::exception &raised) {
        if (!verb.compares)
            throw;
        return reportFailure(raised, BadUsage);
    }
}

} // namespace tamrivel::cli
