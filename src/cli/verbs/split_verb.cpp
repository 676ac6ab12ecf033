#include "split_verb.h"

#include "report_watchers.h"

#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/chip_fit_options.h"
#include "cli/options/option_values.h"
#include "cli/options/output_options.h"
#include "cli/options/shape_options.h"
#include "cli/options/wiring_options.h"
#include "cli/standard_streams.h"
#include "cli/words.h"
#include "split/split_files.h"

namespace tamrivel::cli {
namespace {

void splitSource(const QString &source, const QString &shownAs, const CliRequest &request,
                 const std::atomic<bool> *stop)
{
    // A 16-bit chip's programmer may show a sum of words rather than bytes.
    FileReport report(request.shape.width >= 2);
    ProgressLine progress(shownAs);
    splitFiles(source, request.outputs, request.shape, watchersFor(progress, request, report, stop),
               request.fit, request.existing);
}

int runSplit(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &source = request.inputs.first();
    if (!isStandardStream(source)) {
        splitSource(source, shown(source), request, stop);
        return Success;
    }
    const StandardInputCopy copy(stop);
    standingFor(copy.path(), standardInputName(),
                [&] { splitSource(copy.path(), standardInputName(), request, stop); });
    return Success;
}

int split(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(
        splitVerb(),
        Words::tr("Deals SOURCE round-robin to the images of its chips: with two ways, the "
                  "even bytes to the first OUTPUT and the odd to the second. With no OUTPUT "
                  "named: SOURCE less its last four characters, then _g.bin and _k.bin "
                  "(_0.bin, _1.bin, ... for one or more than two ways; _g_0.bin, ... with "
                  "--banks; .hex or .srec with --format). With --data-lines or "
                  "--address-lines, each chip holds its bytes where its board's wiring "
                  "reads them, after the deal and --swap. Then prints each file written with its "
                  "size, CRC-32 and 16- and 32-bit byte sums.\n\n") +
            sizeAndByteSyntax());
    parser.describeFiles(QStringLiteral("SOURCE"),
                         Words::tr("The image to split; - reads it from standard "
                                   "input, and the OUTPUTs must then be named."));
    parser.describeFiles(QStringLiteral("OUTPUT"),
                         Words::tr("The files to write, way by way, and bank by bank within a way."),
                         QStringLiteral("[OUTPUT...]"));
    const ShapeOptions shape(parser);
    const ChipFitOptions fit(parser, FitUse::Written);
    const WiringOptions wiring(parser);
    const QCommandLineOption quiet = quietOption();
    const QCommandLineOption force = forceOption();
    parser.addOption(quiet);
    parser.addOption(force);
    if (!parser.parse(arguments))
        return Success;

    QStringList files = parser.files();
    if (files.isEmpty())
        throw UsageError{UsageError::tr("split needs a SOURCE")};
    CliRequest request;
    request.quiet = parser.parsed().isSet(quiet);
    if (parser.parsed().isSet(force))
        request.existing = Existing::Replace;
    request.fit = fit.read(parser.parsed());
    request.fit.wiring = wiring.read(parser.parsed());
    request.inputs = {files.takeFirst()};
    refuseStandardStreams(files, splitVerb().name, QStringLiteral("OUTPUTs"));
    if (isStandardStream(request.inputs.first()) && files.isEmpty())
        throw UsageError{UsageError::tr("standard input has no name to make the OUTPUTs' names from: "
                                        "name them")};
    request.shape =
        shape.read(parser.parsed(), files.size(), request.fit.banks, fit.chipWidth(parser.parsed()));
    request.outputs = files;
    return runSplit(request, stop);
}

} // namespace

Verb splitVerb()
{
    return {QStringLiteral("split"), QStringLiteral("SOURCE [OUTPUT...]"),
            Words::tr("deal an image round-robin to its chips' images"), &split};
}

} // namespace tamrivel::cli
