#pragma once

#include "verb.h"

namespace tamrivel::cli {

// verify SOURCE PART...: checks chip images against what split would write.
Verb verifyVerb();

} // namespace tamrivel::cli
