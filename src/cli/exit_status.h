#pragma once

namespace tamrivel::cli {

// 1 is also "they differ" for a verb that compares; 2 then also a failure.
enum ExitStatus { Success = 0, Failed = 1, BadUsage = 2, Interrupted = 130 };

} // namespace tamrivel::cli
