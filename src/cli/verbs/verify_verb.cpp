#include "verify_verb.h"

#include "cli/cli_request.h"

#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/chip_fit_options.h"
#include "cli/options/input_options.h"
#include "cli/options/option_values.h"
#include "cli/options/output_options.h"
#include "cli/options/shape_options.h"
#include "cli/options/wiring_options.h"
#include "cli/progress_line.h"
#include "cli/standard_streams.h"
#include "cli/verbs/diagnosis_lines.h"
#include "cli/words.h"
#include "split/doctor/part_diagnosis.h"
#include "split/doctor/set_diagnosis.h"
#include "split/verify_parts.h"

#include <algorithm>

namespace tamrivel::cli {
namespace {

void sayDifferences(const QString &name, const PartVerdict &verdict)
{
    say(name + bytesDiffer(verdict.differing) + QLatin1Char('\n'));
    for (const ByteDifference &at : verdict.first) {
        const QString from =
            at.sourceOffset < 0 ? Words::tr("padding") : Words::tr("source 0x%1").arg(at.sourceOffset, 0, 16);
        say(Words::tr("  part 0x%1 (%2): expected 0x%3, found 0x%4\n")
                .arg(at.partOffset, 0, 16)
                .arg(from)
                .arg(at.expected, 2, 16, QLatin1Char('0'))
                .arg(at.found, 2, 16, QLatin1Char('0')));
    }
}

int runVerify(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &source = request.inputs.first();
    VerifiedParts verified;
    {
        ProgressLine progress(shown(source));
        verified = verifyParts(source, request.outputs, request.shape, request.fit,
                               Watchers{request.quiet ? ProgressFn() : progress.callback(), {}, stop});
    }
    const bool allSame = verified.allSame();
    if (request.quiet)
        return allSame ? Success : Failed;
    const SetFindings findings = allSame ? SetFindings{} : diagnoseSet(verified, stop);
    const QList<PartVerdict> &verdicts = verified.verdicts;
    for (qsizetype part = 0; part < verdicts.size(); ++part) {
        const PartVerdict &verdict = verdicts[part];
        // The name goes before the figures, never through a placeholder.
        const QString name = shown(verdict.name) + QStringLiteral(": ");
        if (verdict.same()) {
            say(name + Words::tr("the same, %1 bytes\n").arg(verdict.foundSize));
            continue;
        }
        if (verdict.expectedSize != verdict.foundSize)
            say(name +
                Words::tr("%1 bytes, but the split writes %2\n")
                    .arg(verdict.foundSize)
                    .arg(verdict.expectedSize));
        if (verdict.differing > 0)
            sayDifferences(name, verdict);
        sayLikely(findings.parts[part].likely);
        if (findings.parts[part].notHeld)
            say(Words::tr("  not diagnosed further: over %1, more than is held in memory\n")
                    .arg(maxDiagnosedPartText()));
    }
    sayLikely(findings.set);
    return allSame ? Success : Failed;
}

int verify(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(verifyVerb(),
                      Words::tr("Checks that the PARTs are exactly what split SOURCE with the same options "
                                "would write, padding included. Each PART may be raw bytes, Intel HEX or "
                                "S-records, told from its content. Exit status 0 and one line a part if "
                                "so; otherwise 1, and for each part that differs, how many bytes, the "
                                "first eight with their part and source offsets, any difference in "
                                "size, and lines starting 'likely:' naming each cause that accounts for all "
                                "of its differences (a blank or half-burnt chip, chips in each other's "
                                "sockets, a stuck or crossed data or address line, with the --data-lines or "
                                "--address-lines that would match it, a chip too small, ...); "
                                "lines for the whole set come last. Parts over %1 are only checked for "
                                "being another part. A part or source that cannot be read is exit status 2, "
                                "as are options that cannot be carried out.\n\n")
                              .arg(maxDiagnosedPartText()) +
                          sizeAndByteSyntax());
    parser.describeFiles(QStringLiteral("SOURCE"), Words::tr("The image the chips were split from."));
    parser.describeFiles(QStringLiteral("PART"), Words::tr("The chip images, in the order split names them."),
                         QStringLiteral("PART..."));
    const ShapeOptions shape(parser);
    const ChipFitOptions fit(parser, FitUse::Checked);
    const WiringOptions wiring(parser);
    const QCommandLineOption quiet =
        quietOption(Words::tr("Print nothing but errors: the exit status tells whether all are the same."));
    const QCommandLineOption force({QStringLiteral("f"), QStringLiteral("force")},
                                   Words::tr("Taken as split takes it; verify writes nothing."));
    const QCommandLineOption raw = rawOption(QStringLiteral("PART"));
    parser.addOption(quiet);
    parser.addOption(force);
    parser.addOption(raw);
    if (!parser.parse(arguments))
        return Success;

    QStringList files = parser.files();
    if (files.size() < 2)
        throw UsageError{UsageError::tr("verify needs a SOURCE and its PARTs")};
    CliRequest request;
    request.fit = fit.read(parser.parsed());
    request.fit.rawParts = parser.parsed().isSet(raw);
    request.fit.wiring = wiring.read(parser.parsed());
    request.inputs = {files.takeFirst()};
    refuseStandardStreams(request.inputs, verifyVerb().name, QStringLiteral("SOURCE"));
    refuseStandardStreams(files, verifyVerb().name, QStringLiteral("PARTs"));
    request.shape =
        shape.read(parser.parsed(), files.size(), request.fit.banks, fit.chipWidth(parser.parsed()));
    request.outputs = files;
    request.quiet = parser.parsed().isSet(quiet);
    return runVerify(request, stop);
}

} // namespace

Verb verifyVerb()
{
    return {QStringLiteral("verify"), QStringLiteral("SOURCE PART..."),
            Words::tr("check chip images against what split writes"), &verify, true};
}

} // namespace tamrivel::cli
