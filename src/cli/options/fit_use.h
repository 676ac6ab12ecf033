#pragma once

namespace tamrivel::cli {

// Whether the verb writes chips (each option says what it makes), checks or
// reads chips split wrote (each says what the parts hold), or sums one
// chip's buffer as a programmer holds it (one chip in one format: no
// --banks, --format or records' dialect).
enum class FitUse { Written, Checked, Summed };

} // namespace tamrivel::cli
