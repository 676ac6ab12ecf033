#include "commands.h"

#include "file_report.h"
#include "progress_line.h"
#include "runtime/runtime_error.h"
#include "split/chip_table.h"
#include "split/process.h"
#include "split/split_files.h"
#include "split/verify_parts.h"

#include <QDir>

#include <cstdio>

namespace tamrivel::cli {
namespace {

void say(const QString &text)
{
    platform::writeText(stdout, text);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

Watchers watchersFor(ProgressLine &progress, const CliRequest &request, FileReport &report,
                     const std::atomic<bool> *stop)
{
    return Watchers{progress.callback(), request.quiet ? OutputTap() : report.tap(), stop};
}

} // namespace

int runSplit(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &source = request.inputs.first();
    FileReport report;
    QStringList outputs;
    {
        ProgressLine progress(shown(source));
        outputs = splitFiles(source, request.outputs, request.shape,
                             watchersFor(progress, request, report, stop), request.fit);
    }
    if (!request.quiet)
        report.print(stdout, outputs);
    return Success;
}

int runJoin(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &output = request.outputs.first();
    FileReport report;
    {
        ProgressLine progress(shown(output));
        joinFiles(request.inputs, output, request.shape, watchersFor(progress, request, report, stop),
                  JoinFit{request.fit.fill, request.length});
    }
    if (!request.quiet)
        report.print(stdout, {output});
    return Success;
}

int runVerify(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &source = request.inputs.first();
    QList<PartVerdict> verdicts;
    {
        ProgressLine progress(shown(source));
        verdicts = verifyParts(source, request.outputs, request.shape, request.fit,
                               Watchers{progress.callback(), {}, stop});
    }
    bool allSame = true;
    for (const PartVerdict &verdict : verdicts) {
        allSame = allSame && verdict.same();
        if (verdict.same()) {
            say(QStringLiteral("%1: the same, %2 bytes\n").arg(shown(verdict.name)).arg(verdict.foundSize));
            continue;
        }
        if (verdict.expectedSize != verdict.foundSize)
            say(QStringLiteral("%1: %2 bytes, but the split writes %3\n")
                    .arg(shown(verdict.name))
                    .arg(verdict.foundSize)
                    .arg(verdict.expectedSize));
        if (verdict.differing == 0)
            continue;
        say(verdict.differing == 1
                ? QStringLiteral("%1: 1 byte differs\n").arg(shown(verdict.name))
                : QStringLiteral("%1: %2 bytes differ\n").arg(shown(verdict.name)).arg(verdict.differing));
        for (const ByteDifference &at : verdict.first) {
            const QString from = at.sourceOffset < 0
                ? QStringLiteral("padding")
                : QStringLiteral("source 0x%1").arg(at.sourceOffset, 0, 16);
            say(QStringLiteral("  part 0x%1 (%2): expected 0x%3, found 0x%4\n")
                    .arg(at.partOffset, 0, 16)
                    .arg(from)
                    .arg(at.expected, 2, 16, QLatin1Char('0'))
                    .arg(at.found, 2, 16, QLatin1Char('0')));
        }
    }
    return allSame ? Success : Failed;
}

int runChips()
{
    say(QStringLiteral("%1  %2  %3\n")
            .arg(QStringLiteral("name"), -8)
            .arg(QStringLiteral("bytes"), 8)
            .arg(QStringLiteral("data bus")));
    for (const Chip &chip : chipTable()) {
        say(QStringLiteral("%1  %2  %3-bit\n")
                .arg(QString::fromLatin1(chip.name), -8)
                .arg(chip.bytes, 8)
                .arg(QString::fromLatin1(chip.dataBus)));
    }
    return Success;
}

} // namespace tamrivel::cli
