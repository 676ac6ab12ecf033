#pragma once

#include "cli_request.h"

#include <atomic>

namespace tamrivel::cli {

enum ExitStatus { Success = 0, Failed = 1, BadUsage = 2, Interrupted = 130 };

// Each carries out one verb and returns the exit status. A failure raises
// RuntimeError (or UsageError for files that do not match the options);
// setting `stop` abandons the work at the next block, every file as it was.
int runSplit(const CliRequest &request, const std::atomic<bool> *stop);
int runJoin(const CliRequest &request, const std::atomic<bool> *stop);
int runVerify(const CliRequest &request, const std::atomic<bool> *stop);
int runChips();

} // namespace tamrivel::cli
