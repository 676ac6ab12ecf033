#pragma once

#include "cli/cli_request.h"
#include "cli/console_text.h"
#include "cli/file_report.h"
#include "cli/progress_line.h"
#include "cli/words.h"

namespace tamrivel::cli {

// What watches a split or a join: the progress line and the report unless
// --quiet, the stop request, and what it waits for. The report is printed,
// and must reach its reader, before the outputs take the old files' places,
// so that a report lost leaves the old files rather than new ones unreported.
inline Watchers watchersFor(ProgressLine &progress, const CliRequest &request, FileReport &report,
                            const std::atomic<bool> *stop)
{
    Watchers watchers{{}, {}, stop};
    // Quiet keeps only errors, and the note on fill added below: bytes made
    // up are never added in silence.
    if (!request.quiet) {
        watchers.progress = progress.callback();
        watchers.written = report.tap();
        watchers.waiting = progress.waitingCallback();
        watchers.inUse = progress.inUseCallback();
    }
    watchers.filled = [](const QString &part, qint64 bytes) {
        say(Words::tr("tamrivel-cli: %1 bytes of fill added after the last record of %2, to fit the other "
                      "parts\n")
                .arg(QString::number(bytes), shown(part)),
            stderr);
    };
    watchers.beforeReplacing = [&progress, &report, quiet = request.quiet](const QStringList &outputs) {
        progress.end();
        if (!quiet)
            report.print(stdout, outputs);
        flushStandardOutput();
    };
    return watchers;
}

} // namespace tamrivel::cli
