#include "cli_request.h"

#include "runtime/runtime_error.h"
#include "split/output_naming.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace tamrivel::cli {
namespace {

int numberOption(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("--%1 takes a whole number, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return value;
}

// The outputs a split writes when none are named: the window's two names for
// a pair, numbered names for more ways.
QStringList proposedOutputs(const QString &source, int ways)
{
    // Names made from a stream handed to us (a FIFO, /dev/stdin, /dev/fd/N)
    // would land among the devices.
    const QFileInfo info(source);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    const bool streamFolder = folder == QLatin1String("/dev") || folder.startsWith(QLatin1String("/proc/"));
    if (info.exists() && (!info.isFile() || streamFolder))
        throw UsageError{QStringLiteral("'%1' is not a regular file: name the outputs").arg(source)};
    if (source.size() < 4)
        throw RuntimeError(ErrorNumber::InvalidArgument, source,
                           QStringLiteral("出力ファイル名を作るには名前が短すぎます。"));
    if (ways == 2)
        return {proposedOutputName(source, QString::fromLatin1(kEvenSuffix)),
                proposedOutputName(source, QString::fromLatin1(kOddSuffix))};
    QStringList names;
    for (int way = 0; way < ways; ++way)
        names.append(proposedOutputName(source, QStringLiteral("_%1.bin").arg(way)));
    return names;
}

// --ways may be left out when the files named already say how many.
int settleWays(const QCommandLineParser &parser, const QCommandLineOption &option, qsizetype named)
{
    const int fallback = named > 0 ? int(named) : 2;
    const int ways = numberOption(parser, option, fallback);
    if (named > 0 && ways != named)
        throw UsageError{QStringLiteral("--ways %1 does not match the %2 parts named").arg(ways).arg(named)};
    return ways;
}

} // namespace

CliRequest parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Splits a ROM image into the images of its chips by dealing bytes round-robin, "
        "and joins chip images back into one.\n\n"
        "  split SOURCE [OUTPUT...]   even bytes to the first output, odd to the second;\n"
        "                             with no outputs named: SOURCE less its last four\n"
        "                             characters, then _g.bin and _k.bin (_0.bin, _1.bin, ...\n"
        "                             for more than two ways)\n"
        "  join PART... OUTPUT        the exact inverse of split"));
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("split or join"));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("the files, as above"),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption waysOption(
        QStringLiteral("ways"), QStringLiteral("Deal to N parts, 2 to 16 (default 2)."), QStringLiteral("N"));
    const QCommandLineOption widthOption(QStringLiteral("width"),
                                         QStringLiteral("Bytes a turn: 1, 2, 4 or 8 (default 1)."),
                                         QStringLiteral("W"));
    const QCommandLineOption swapOption(QStringLiteral("swap"),
                                        QStringLiteral("Reverse the byte order inside each W-byte unit."));
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
                                         QStringLiteral("Print nothing on success."));
    parser.addOptions({waysOption, widthOption, swapOption, quietOption});
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments))
        throw UsageError{parser.errorText()};

    CliRequest request;
    request.helpText = parser.helpText();
    if (parser.isSet(helpOption))
        return request;
    if (parser.isSet(versionOption)) {
        request.verb = CliRequest::Verb::Version;
        return request;
    }

    QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        throw UsageError{QStringLiteral("say split or join")};
    const QString verb = files.takeFirst();
    request.quiet = parser.isSet(quietOption);
    request.shape.width = numberOption(parser, widthOption, 1);
    request.shape.swap = parser.isSet(swapOption);

    if (verb == QLatin1String("split")) {
        if (files.isEmpty())
            throw UsageError{QStringLiteral("split needs a SOURCE")};
        request.verb = CliRequest::Verb::Split;
        request.inputs = {files.takeFirst()};
        request.shape.ways = settleWays(parser, waysOption, files.size());
        if (const QString problem = request.shape.problem(); !problem.isEmpty())
            throw UsageError{problem};
        request.outputs =
            files.isEmpty() ? proposedOutputs(request.inputs.first(), request.shape.ways) : files;
    } else if (verb == QLatin1String("join")) {
        if (files.size() < 3)
            throw UsageError{QStringLiteral("join needs at least two PARTs and an OUTPUT")};
        request.verb = CliRequest::Verb::Join;
        request.outputs = {files.takeLast()};
        request.inputs = files;
        request.shape.ways = settleWays(parser, waysOption, files.size());
        if (const QString problem = request.shape.problem(); !problem.isEmpty())
            throw UsageError{problem};
    } else {
        throw UsageError{QStringLiteral("unknown command '%1': say split or join").arg(verb)};
    }
    return request;
}

} // namespace tamrivel::cli
