#include "compare_verb.h"

#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/input_options.h"
#include "cli/options/output_options.h"
#include "cli/options/verb_parser.h"
#include "cli/progress_line.h"
#include "cli/verbs/diagnosis_lines.h"
#include "cli/words.h"
#include "split/reads/read_comparison.h"
#include "split/usage_error.h"

namespace tamrivel::cli {
namespace {

QString hexOffset(qint64 offset)
{
    return QStringLiteral("0x%1").arg(offset, 4, 16, QLatin1Char('0'));
}

// Each bit the reads disagree on, with the value the fewer of them read:
// the way it flips.
QString flipsText(const ReadDisagreement &at)
{
    const int reads = int(at.values.size());
    QStringList flips;
    for (int line = 7; line >= 0; --line) {
        if (!((at.unstableBits() >> line) & 1))
            continue;
        const int ones = at.ones(line);
        const bool fewerOnes = ones <= reads - ones;
        flips << Words::tr("D%1 read as %2 by %3 of %4 reads")
                     .arg(line)
                     .arg(fewerOnes ? 1 : 0)
                     .arg(fewerOnes ? ones : reads - ones)
                     .arg(reads);
    }
    return flips.join(Words::tr(", "));
}

void saySizes(const ReadComparison &comparison)
{
    for (qsizetype read = 0; read < comparison.reads.size(); ++read) {
        const qint64 size = comparison.sizes[read];
        // The name goes before the figures, never through a placeholder.
        say(shown(comparison.reads[read]) + QStringLiteral(": ") +
            (size == 1 ? Words::tr("1 byte\n") : Words::tr("%1 bytes\n").arg(size)));
    }
    say(comparison.compared == 1 ? Words::tr("the reads differ in size: only the first byte is compared\n")
                                 : Words::tr("the reads differ in size: the first %1 bytes are compared\n")
                                       .arg(comparison.compared));
}

void sayDisagreements(const ReadComparison &comparison)
{
    say(bytesDiffer(comparison.differing) + QLatin1Char('\n'));
    for (const ReadDisagreement &at : comparison.first) {
        QStringList values;
        for (const uchar value : at.values)
            values << QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0'));
        say(QStringLiteral("  %1: %2: %3\n").arg(hexOffset(at.offset), values.join(u' '), flipsText(at)));
    }
    sayLikely(comparison.likely());
}

void sayVote(const ReadComparison &comparison, const QString &vote)
{
    if (comparison.voted) {
        say(shown(vote) + QStringLiteral(": ") +
            Words::tr("written, each byte as more than half of the reads hold it\n"));
        return;
    }
    if (comparison.sizesDiffer()) {
        say(Words::tr("nothing written: the reads differ in size\n"));
        return;
    }
    QStringList offsets;
    for (const qint64 offset : comparison.firstUndecided)
        offsets << hexOffset(offset);
    if (comparison.undecided > comparison.firstUndecided.size())
        offsets << QStringLiteral("...");
    say(comparison.undecided == 1
            ? Words::tr("nothing written: no byte has a majority at %1\n").arg(offsets.constFirst())
            : Words::tr("nothing written: no byte has a majority at %1 offsets: %2\n")
                  .arg(comparison.undecided)
                  .arg(offsets.join(QStringLiteral(", "))));
}

int runCompare(const QStringList &reads, InputFile::Reading reading, const QString &vote, Existing existing,
               bool quiet, const std::atomic<bool> *stop)
{
    ReadComparison comparison;
    {
        ProgressLine progress(shown(reads.constFirst()));
        comparison = compareReads(reads, reading, vote, existing,
                                  Watchers{quiet ? ProgressFn() : progress.callback(), {}, stop});
    }
    if (quiet)
        return comparison.agree() ? Success : Failed;
    if (comparison.sizesDiffer())
        saySizes(comparison);
    if (comparison.differing == 0)
        say(comparison.sizesDiffer()
                ? Words::tr("the %1 reads agree in the bytes they all hold\n").arg(reads.size())
                : Words::tr("the %1 reads agree\n").arg(reads.size()));
    else
        sayDisagreements(comparison);
    if (!vote.isEmpty())
        sayVote(comparison, vote);
    flushStandardOutput();
    return comparison.agree() ? Success : Failed;
}

int compare(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(
        compareVerb(),
        Words::tr("Compares several reads of one chip byte by byte, over the length all of them have. "
                  "If they agree, says so and exits with 0. Otherwise exits with 1 and prints how many "
                  "bytes differ, the first eight with the byte each read holds and, for each bit the "
                  "reads disagree on, the value the fewer of them read, then a line starting 'likely:' "
                  "saying whether the unstable bits share one data line (a bad contact on that pin) or "
                  "are scattered (a weak chip or a poor socket). Reads of different sizes are said to "
                  "differ. A DUMP that cannot be read is exit status 2, as are options that cannot be "
                  "carried out."));
    parser.describeFiles(QStringLiteral("DUMP"),
                         Words::tr("The reads of one chip: raw bytes, Intel HEX or S-records."),
                         QStringLiteral("DUMP DUMP..."));
    const QCommandLineOption vote(
        QStringLiteral("vote"),
        Words::tr("With three reads or more, write to OUTPUT each byte as more than half of the reads "
                  "hold it; where no byte has such a majority, or the reads differ in size, write "
                  "nothing and name the offsets."),
        QStringLiteral("OUTPUT"));
    const QCommandLineOption force = forceOption();
    const QCommandLineOption raw = rawOption(QStringLiteral("DUMP"));
    const QCommandLineOption quiet =
        quietOption(Words::tr("Print nothing but errors: the exit status tells whether the reads agree."));
    for (const QCommandLineOption *option : {&vote, &force, &raw, &quiet})
        parser.addOption(*option);
    if (!parser.parse(arguments))
        return Success;
    const QStringList reads = parser.files();
    if (reads.size() < 2)
        throw UsageError{UsageError::tr("compare needs two DUMPs or more")};
    const QString voteTo = parser.parsed().value(vote);
    if (parser.parsed().isSet(vote) && reads.size() < 3)
        throw UsageError{UsageError::tr("--vote needs three DUMPs or more, for a majority to tell")};
    return runCompare(reads, parser.parsed().isSet(raw) ? InputFile::Reading::Raw : InputFile::Reading::Image,
                      voteTo, parser.parsed().isSet(force) ? Existing::Replace : Existing::Keep,
                      parser.parsed().isSet(quiet), stop);
}

} // namespace

Verb compareVerb()
{
    return {QStringLiteral("compare"), QStringLiteral("DUMP DUMP..."),
            Words::tr("compare several reads of one chip, and vote"), &compare, true};
}

} // namespace tamrivel::cli
