#pragma once

#include "verb.h"

namespace tamrivel::cli {

// compare DUMP DUMP...: whether several reads of one chip agree, and where
// they do not, which bits flip; with --vote, the image most reads agree on.
Verb compareVerb();

} // namespace tamrivel::cli
