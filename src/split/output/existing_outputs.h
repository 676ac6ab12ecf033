#pragma once

namespace tamrivel {

// What becomes of an output that exists before the run: replaced, as the
// window does with the names it proposes, or kept, and the run refused
// before anything is written, as a command line must unless told, where a
// slip in the order of the names would otherwise overwrite a source.
enum class Existing { Replace, Keep };

} // namespace tamrivel
