#include "commands.h"

#include "file_report.h"
#include "progress_line.h"
#include "runtime/runtime_error.h"
#include "split/chip_table.h"
#include "split/chips/chip_outputs.h"
#include "split/platform/platform.h"
#include "split/records/record_reader.h"
#include "split/split_files.h"
#include "split/verify_parts.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <list>
#include <optional>

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

// The files a split writes or a verify reads, named or proposed, checked
// against the layout.
QStringList settleFiles(const CliRequest &request, const PartLayout &layout)
{
    const QString &source = request.inputs.first();
    QStringList files = request.outputs;
    if (files.isEmpty()) {
        // Names made from a stream handed to us (a FIFO, /dev/stdin, /dev/fd/N)
        // would land among the devices.
        const QFileInfo info(source);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        const bool streamFolder =
            folder == QLatin1String("/dev") || folder.startsWith(QLatin1String("/proc/"));
        if (info.exists() && (!info.isFile() || streamFolder))
            throw UsageError{QStringLiteral("'%1' is not a regular file: name the outputs").arg(source)};
        if (source.size() < 4)
            throw RuntimeError(ErrorNumber::InvalidArgument, source,
                               QStringLiteral("出力ファイル名を作るには名前が短すぎます。"));
        files = layout.proposedNames(source);
    }
    if (files.size() != layout.fileCount())
        throw UsageError{QStringLiteral("%1 files named, but this split has %2 (%3 ways of %4 chips)")
                             .arg(files.size())
                             .arg(layout.fileCount())
                             .arg(layout.shape().ways)
                             .arg(layout.banks())};
    return files;
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
    const PartLayout layout(request.shape, request.fit, QFileInfo(source).size());
    const QStringList outputs = settleFiles(request, layout);
    layout.refuseMisfits(outputs);
    FileReport report(outputs);
    {
        ProgressLine progress(shown(source));
        // The plain split goes straight to the files, at full speed.
        std::optional<ChipOutputs> chips;
        if (request.fit.changesOutputs())
            chips.emplace(layout);
        splitFiles(source, outputs, request.shape, watchersFor(progress, request, report, stop),
                   chips ? &*chips : nullptr);
    }
    if (!request.quiet)
        report.print(stdout);
    return Success;
}

int runJoin(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &output = request.outputs.first();
    std::list<PartSource> parts;
    qint64 largest = 0;
    for (const QString &path : request.inputs)
        largest = std::max(largest, parts.emplace_back(path, request.fit.fill).size());
    QList<OpenPart> opened;
    qint64 total = 0;
    for (PartSource &part : parts) {
        // Many tools leave out a record file's trailing erased bytes; what a
        // programmer loads is the chip filled to the end, as large as its peers.
        part.fillTo(largest);
        opened.append({NamedDevice{part.device(), part.path()}, part.id(), part.size()});
        total += part.size();
    }
    if (request.length > total)
        throw RuntimeError(ErrorNumber::InvalidArgument, output,
                           QStringLiteral("(--length %1 バイトは部品の合計 %2 バイトより長い)")
                               .arg(request.length)
                               .arg(total));
    FileReport report({output});
    {
        ProgressLine progress(shown(output));
        std::optional<LengthCut> cut;
        if (request.length >= 0)
            cut.emplace(request.length, request.fit.fill);
        joinParts(opened, output, request.shape, watchersFor(progress, request, report, stop),
                  cut ? &*cut : nullptr);
    }
    if (!request.quiet)
        report.print(stdout);
    return Success;
}

int runVerify(const CliRequest &request, const std::atomic<bool> *stop)
{
    const QString &source = request.inputs.first();
    const PartLayout layout(request.shape, request.fit, QFileInfo(source).size());
    const QStringList parts = settleFiles(request, layout);
    QList<PartVerdict> verdicts;
    {
        ProgressLine progress(shown(source));
        verdicts = verifyParts(source, parts, layout, Watchers{progress.callback(), {}, stop});
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
