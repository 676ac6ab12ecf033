#pragma once

#include "cli/cli_request.h"
#include "cli/file_report.h"
#include "cli/progress_line.h"

namespace tamrivel::cli {

// What watches a split or a join: the progress line, the report unless
// --quiet, and the stop request.
inline Watchers watchersFor(ProgressLine &progress, const CliRequest &request, FileReport &report,
                            const std::atomic<bool> *stop)
{
    return Watchers{progress.callback(), request.quiet ? OutputTap() : report.tap(), stop};
}

} // namespace tamrivel::cli
