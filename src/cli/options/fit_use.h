#pragma once

namespace tamrivel::cli {

// Whether the verb writes chips (each option says what it makes) or checks
// or reads chips split wrote (each says what the parts hold).
enum class FitUse { Written, Checked };

} // namespace tamrivel::cli
