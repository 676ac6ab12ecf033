#pragma once

#include "cli_request.h"

namespace tamrivel::cli {

enum ExitStatus { Success = 0, Failed = 1, BadUsage = 2 };

// Each carries out one verb and returns the exit status. A failure raises
// RuntimeError (or UsageError for files that do not match the options).
int runSplit(const CliRequest &request);
int runJoin(const CliRequest &request);
int runVerify(const CliRequest &request);
int runChips();

} // namespace tamrivel::cli
