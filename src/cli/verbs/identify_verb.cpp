#include "identify_verb.h"

#include "cli/cli_request.h"
#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/input_options.h"
#include "cli/options/output_options.h"
#include "cli/options/verb_parser.h"
#include "cli/options/wiring_options.h"
#include "cli/standard_streams.h"
#include "cli/verbs/diagnosis_lines.h"
#include "cli/words.h"
#include "split/doctor/dump_identity.h"
#include "split/doctor/part_diagnosis.h"
#include "split/doctor/shared_run_search.h"
#include "split/doctor/size_text.h"

namespace tamrivel::cli {
namespace {

QString placeText(const DumpPlace &place)
{
    QString text = Words::tr("way %1 of --ways %2 --width %3")
                       .arg(place.way)
                       .arg(place.shape.ways)
                       .arg(place.shape.width);
    if (place.shape.swap)
        text += QStringLiteral(" --swap");
    // What else split needs to write this chip: the form above is kept for
    // the plain cases that scripts read most.
    const ChipFit &fit = place.fit;
    if (fit.chipSize > 0 && !fit.banks)
        text += QStringLiteral(" --size %1").arg(sizeText(fit.chipSize));
    if (fit.offset > 0)
        text += QStringLiteral(" --offset %1").arg(sizeText(fit.offset));
    if (fit.mirror)
        text += QStringLiteral(" --fill mirror");
    else if (fit.chipSize > 0 && fit.fill != kErasedByte)
        text += QStringLiteral(" --fill 0x%1").arg(fit.fill, 2, 16, QLatin1Char('0'));
    if (!fit.wiring.data.isEmpty())
        text += QStringLiteral(" --data-lines %1").arg(linesText(fit.wiring.data));
    if (!fit.wiring.address.isEmpty())
        text += QStringLiteral(" --address-lines %1").arg(linesText(fit.wiring.address));
    if (fit.banks)
        text += Words::tr(", bank %1 of %2").arg(place.bank).arg(sizeText(fit.chipSize));
    return text;
}

// Where the dump sits, and how much of it: a dump cut short is the start of
// its part, not a chip of its own size.
QString readingText(const DumpPlace &place, qint64 dumpSize)
{
    if (dumpSize < place.size)
        return Words::tr("the first 0x%1 bytes of %2").arg(dumpSize, 0, 16).arg(placeText(place));
    return placeText(place);
}

QString lengthText(qint64 dumpSize, qint64 placeSize)
{
    const qint64 off = std::abs(dumpSize - placeSize);
    const QString text = dumpSize < placeSize
        ? (off == 1 ? Words::tr("0x%1 byte missing") : Words::tr("0x%1 bytes missing"))
        : (off == 1 ? Words::tr("0x%1 byte too many") : Words::tr("0x%1 bytes too many"));
    return text.arg(off, 0, 16);
}

QString verdictText(const DumpIdentity &identity)
{
    QStringList findings;
    if (identity.differing > 0)
        findings << bytesDiffer(identity.differing);
    if (identity.size != identity.place.size)
        findings << lengthText(identity.size, identity.place.size);
    return findings.isEmpty() ? Words::tr("exact") : findings.join(Words::tr(", "));
}

int runIdentify(const QString &image, const QStringList &dumps, const std::atomic<bool> *stop,
                InputFile::Reading reading, const LineWiring &wiring, bool quiet)
{
    bool allExact = true;
    for (const DumpIdentity &identity : identifyDumps(image, dumps, stop, reading, 0, wiring)) {
        // The name goes before the findings, never through a placeholder.
        const QString name = shown(identity.dump) + QStringLiteral(": ");
        allExact = allExact && identity.unsearched.isEmpty() && !identity.sharesNothing &&
            identity.differing == 0 && identity.size == identity.place.size;
        if (quiet)
            continue;
        if (!identity.unsearched.isEmpty()) {
            say(name + Words::tr("not searched: %1\n").arg(identity.unsearched));
            continue;
        }
        if (identity.sharesNothing) {
            say(name +
                Words::tr("no part: it shares no run of %1 bytes with any part of a split of the "
                          "image\n")
                    .arg(kSharedRunBytes));
            continue;
        }
        say(name + readingText(identity.place, identity.size) + QStringLiteral(": ") + verdictText(identity) +
            QLatin1Char('\n'));
        if (const std::optional<DumpPlace> &longer = identity.alsoStartOf) {
            say(Words::tr("  or %1: %2\n")
                    .arg(readingText(*longer, identity.size), lengthText(identity.size, longer->size)));
        }
        sayLikely(identity.likely);
    }
    return allExact ? Success : Failed;
}

int identify(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(
        identifyVerb(),
        Words::tr("Tells, for each DUMP read from a chip, which part of which split of IMAGE it is, "
                  "in any order: every --ways, --width and --swap, on its own or on a chip of the "
                  "dump's size, alone or in banks, padded with 0xFF or 0x00, mirrored, or at the top "
                  "of the chip (--offset). One line a dump: "
                  "'DUMP: way I of --ways N --width W', then ' --swap' if swapped, ' --size SIZE' "
                  "for one chip padded, ' --offset SIZE', ' --fill 0x00' or ' --fill mirror' for a chip "
                  "filled so, then ', bank B "
                  "of SIZE' if banked, then ': exact' or ': N bytes differ'. With --data-lines or "
                  "--address-lines, each DUMP is read as its board reads it and placed only on chips "
                  "so wired (of its word, and of its size for address lines); no other wiring is "
                  "tried. Ways and banks count "
                  "from 0 as split names them: ways 0 and 1 of two are _g and _k. A dump that "
                  "matches nowhere gets its nearest part and lines starting 'likely:' saying why "
                  "it may differ, or 'no part' where none is near. Exit status 0 if every dump matched "
                  "exactly, 1 if one did not, 2 if a file cannot be read or the options cannot "
                  "be carried out."));
    parser.describeFiles(QStringLiteral("IMAGE"), Words::tr("The image the chips were split from."));
    parser.describeFiles(QStringLiteral("DUMP"),
                         Words::tr("Chip images as read back: raw bytes, Intel HEX or S-records, up to "
                                   "%1 each.")
                             .arg(maxDiagnosedPartText()),
                         QStringLiteral("DUMP..."));
    const QCommandLineOption raw = rawOption(QStringLiteral("DUMP"));
    const QCommandLineOption quiet =
        quietOption(Words::tr("Print nothing but errors: the exit status tells whether all matched."));
    parser.addOption(raw);
    parser.addOption(quiet);
    const WiringOptions wiringOptions(parser);
    if (!parser.parse(arguments))
        return Success;
    QStringList files = parser.files();
    if (files.size() < 2)
        throw UsageError{UsageError::tr("identify needs an IMAGE and its DUMPs")};
    const LineWiring wiring = wiringOptions.read(parser.parsed());
    // Each line once, for a chip that has as many: whether each dump has as
    // many is told dump by dump.
    const int word = wiring.data.size() > 8 ? 2 : 1;
    if (const QString problem =
            wiring.problem(qint64(word) << std::min<qsizetype>(wiring.address.size(), 32), word);
        !problem.isEmpty())
        throw UsageError{problem};
    const QString image = files.takeFirst();
    refuseStandardStreams({image}, identifyVerb().name, QStringLiteral("IMAGE"));
    refuseStandardStreams(files, identifyVerb().name, QStringLiteral("DUMPs"));
    return runIdentify(image, files, stop,
                       parser.parsed().isSet(raw) ? InputFile::Reading::Raw : InputFile::Reading::Image,
                       wiring, parser.parsed().isSet(quiet));
}

} // namespace

Verb identifyVerb()
{
    return {QStringLiteral("identify"), QStringLiteral("IMAGE DUMP..."),
            Words::tr("tell which part of a split each chip image is"), &identify, true};
}

} // namespace tamrivel::cli
