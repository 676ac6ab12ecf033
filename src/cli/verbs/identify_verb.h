#pragma once

#include "verb.h"

namespace tamrivel::cli {

// identify IMAGE DUMP...: which part of which split of IMAGE each dump is.
Verb identifyVerb();

} // namespace tamrivel::cli
