#include "join_verb.h"

#include "report_watchers.h"

#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/chip_fit_options.h"
#include "cli/options/input_options.h"
#include "cli/options/option_values.h"
#include "cli/options/output_options.h"
#include "cli/options/record_dialect_options.h"
#include "cli/options/shape_options.h"
#include "cli/options/wiring_options.h"
#include "cli/standard_streams.h"
#include "cli/words.h"
#include "split/output_naming.h"
#include "split/platform/console.h"
#include "split/split_files.h"

#include <QTemporaryDir>

namespace tamrivel::cli {
namespace {

// Joined in full into a private temporary folder first, so that the image
// reaches standard output only once every check has passed, as a file takes
// its place only then.
int joinToStandardOutput(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tamrivel-cli-XXXXXX"));
    if (!folder.isValid())
        throw RuntimeError(ErrorNumber::AccessDenied, QDir::tempPath());
    const QString joined = folder.filePath(QStringLiteral("joined.bin"));
    FileReport report;
    ProgressLine progress(standardOutputName());
    Watchers watchers = watchersFor(progress, request, report, stop);
    watchers.beforeReplacing = [&progress](const QStringList &) { progress.end(); };
    standingFor(joined, standardOutputName(), [&] {
        joinFiles(request.inputs, joined, request.shape, watchers, request.fit, request.length,
                  Existing::Replace);
    });
    copyToStandardOutput(joined, stop);
    // The report shares no stream with the image, and tells of an image
    // that reached its reader in full.
    if (!request.quiet)
        report.print(stderr, {standardOutputName()});
    return Success;
}

int runJoin(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &output = request.outputs.first();
    if (isStandardStream(output))
        return joinToStandardOutput(request, stop);
    FileReport report;
    ProgressLine progress(shown(output));
    joinFiles(request.inputs, output, request.shape, watchersFor(progress, request, report, stop),
              request.fit, request.length, request.existing);
    return Success;
}

int join(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(
        joinVerb(),
        Words::tr("Joins the PARTs into OUTPUT, the exact inverse of split with the same "
                  "--ways, --width, --swap, --data-lines and --address-lines, or with --banks "
                  "of a banked split, its chips listed as split lists them. Each PART may be raw bytes, "
                  "Intel HEX or "
                  "S-records, told from its content; a record part's gaps read as --fill, "
                  "and where the parts cannot come from one split as they are, a record "
                  "part whose data stops short is filled as far as makes them fit. "
                  "Then prints OUTPUT with its size, CRC-32 and 16- and 32-bit byte sums.\n\n") +
            sizeAndByteSyntax());
    parser.describeFiles(QStringLiteral("PART"), Words::tr("The chip images, in the order split names them."),
                         QStringLiteral("PART..."));
    parser.describeFiles(QStringLiteral("OUTPUT"),
                         Words::tr("The image to write; - writes it to standard output, once it is "
                                   "joined in full, and the report to standard error."));
    const ShapeOptions shape(parser);
    const WiringOptions wiring(parser);
    const QCommandLineOption fill(
        QStringLiteral("fill"),
        Words::tr("The byte a record part's gaps read as, and the only one --offset and --length "
                  "may cut off (default 0xFF, an erased EPROM); mirror: the parts were split "
                  "with --fill mirror, and --length cuts off their copies unchecked."),
        QStringLiteral("BYTE|mirror"));
    const QCommandLineOption offset(
        QStringLiteral("offset"),
        Words::tr("Skip the first SIZE bytes of each part, as split --offset put them there."),
        QStringLiteral("SIZE"));
    const QCommandLineOption length(QStringLiteral("length"),
                                    Words::tr("Cut the output to SIZE bytes, to drop the chips' padding."),
                                    QStringLiteral("SIZE"));
    const QCommandLineOption banks(QStringLiteral("banks"),
                                   Words::tr("The PARTs are the chips of a banked split, way by way and bank "
                                             "by bank within a way, all of one size."));
    const QCommandLineOption quiet = quietOption();
    const QCommandLineOption force = forceOption();
    const QCommandLineOption raw = rawOption(QStringLiteral("PART"));
    for (const QCommandLineOption *option : {&fill, &offset, &length, &banks})
        parser.addOption(*option);
    const RecordDialectOptions records(FitUse::Checked);
    records.addTo(parser);
    for (const QCommandLineOption *option : {&quiet, &force, &raw})
        parser.addOption(*option);
    if (!parser.parse(arguments))
        return Success;

    QStringList files = parser.files();
    if (files.size() < 2)
        throw UsageError{UsageError::tr("join needs its PARTs and an OUTPUT")};
    CliRequest request;
    request.quiet = parser.parsed().isSet(quiet);
    if (parser.parsed().isSet(force))
        request.existing = Existing::Replace;
    readFill(parser.parsed(), fill, request.fit);
    request.fit.rawParts = parser.parsed().isSet(raw);
    request.fit.wiring = wiring.read(parser.parsed());
    request.fit.records = records.read(parser.parsed(), RecordFormat::Binary);
    if (parser.parsed().isSet(offset))
        request.fit.offset = sizeValue(parser.parsed(), offset);
    request.outputs = {files.takeLast()};
    request.inputs = files;
    refuseStandardStreams(files, joinVerb().name, QStringLiteral("PARTs"));
    if (isStandardStream(request.outputs.first()) && platform::isTerminal(stdout))
        throw UsageError{UsageError::tr("join writes a binary image, which a terminal would garble: send "
                                        "standard output to a file or a pipe")};
    request.fit.banks = parser.parsed().isSet(banks);
    request.shape = shape.read(parser.parsed(), files.size(), request.fit.banks);
    if (request.fit.banks && files.size() % request.shape.ways != 0)
        throw UsageError{UsageError::tr("%1 PARTs do not make banks of %2 ways")
                             .arg(files.size())
                             .arg(request.shape.ways)};
    if (!request.fit.banks && namedAsBanks(files))
        throw UsageError{
            UsageError::tr("the PARTs are named as the banks of a split: join them with --banks")};
    if (parser.parsed().isSet(length))
        request.length = sizeValue(parser.parsed(), length);
    return runJoin(request, stop);
}

} // namespace

Verb joinVerb()
{
    return {QStringLiteral("join"), QStringLiteral("PART... OUTPUT"),
            Words::tr("join chip images back into one, undoing split"), &join};
}

} // namespace tamrivel::cli
