#pragma once

#include "cli/cli_request.h"

#include "split/part_layout.h"

namespace tamrivel::cli {

// The files a split writes or a verify reads, named or proposed, checked
// against the layout.
QStringList settleFiles(const CliRequest &request, const PartLayout &layout);

} // namespace tamrivel::cli
