#pragma once

#include "cli/cli_request.h"
#include "cli/file_report.h"
#include "cli/progress_line.h"

namespace tamrivel::cli {

// What watches a split or a join: the progress line, the report unless
// --quiet, the stop request, and what it waits for.
inline Watchers watchersFor(ProgressLine &progress, const CliRequest &request, FileReport &report,
                            const std::atomic<bool> *stop)
{
    Watchers watchers{progress.callback(), request.quiet ? OutputTap() : report.tap(), stop};
    watchers.waiting = progress.waitingCallback();
    return watchers;
}

} // namespace tamrivel::cli
