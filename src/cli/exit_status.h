#pragma once

namespace tamrivel::cli {

enum ExitStatus { Success = 0, Failed = 1, BadUsage = 2, Interrupted = 130 };

} // namespace tamrivel::cli
