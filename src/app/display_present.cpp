#include "display_present.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace tamrivel {

bool displayPresent(const char *program)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    std::fprintf(stderr, "%s: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                 program);
    return false;
#else
    Q_UNUSED(program);
    return true;
#endif
}

} // namespace tamrivel
