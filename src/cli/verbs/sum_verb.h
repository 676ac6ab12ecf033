#pragma once

#include "verb.h"

namespace tamrivel::cli {

// sum FILE...: the size, CRC-32 and sums a programmer shows for each file,
// or for the chip buffer it fills.
Verb sumVerb();

} // namespace tamrivel::cli
