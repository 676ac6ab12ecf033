#include "file_converter.h"
#include "runtime/error_box.h"
#include "runtime/runtime_error.h"
#include "split/platform/console.h"
#include "window_application.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt aborts with a backtrace; say it plainly instead.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("tamrivel: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return 1;
    }
    // A FIFO output whose reader left, or a file-size limit, is an error to
    // report in the box, not a reason for the window to vanish.
    tamrivel::platform::turnWriteSignalsIntoErrors();
    tamrivel::WindowApplication app(argc, argv);
    try {
        tamrivel::FileConverter window;
        window.show();
        return app.exec();
    } catch (const std::exception &error) {
        // Nothing was meant to get here; the user still gets the box rather
        // than a program that vanishes.
        tamrivel::showErrorBox(nullptr, tamrivel::RuntimeError::from(error));
        return 1;
    }
}
