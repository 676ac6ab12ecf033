#pragma once

#include "verb.h"

namespace tamrivel::cli {

// split SOURCE [OUTPUT...]: deals an image to the images of its chips.
Verb splitVerb();

} // namespace tamrivel::cli
