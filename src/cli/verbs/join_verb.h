#pragma once

#include "verb.h"

namespace tamrivel::cli {

// join PART... OUTPUT: puts chip images back into one image.
Verb joinVerb();

} // namespace tamrivel::cli
