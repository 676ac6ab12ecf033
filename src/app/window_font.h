#pragma once

namespace tamrivel {

// A 9-point font with Japanese glyphs for every window of the program, the
// error box included.
void useWindowFont();

} // namespace tamrivel
