#pragma once

#include "verb.h"

namespace tamrivel::cli {

// chips: the table --chip reads.
Verb chipsVerb();

} // namespace tamrivel::cli
