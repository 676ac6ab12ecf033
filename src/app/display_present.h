#pragma once

namespace tamrivel {

// Without a display Qt aborts with a backtrace. False, once the reason has
// been said plainly on stderr under the name `program`, when there is none
// to show a window on.
bool displayPresent(const char *program);

} // namespace tamrivel
