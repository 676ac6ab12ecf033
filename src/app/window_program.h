#pragma once

#include "display_present.h"
#include "runtime/error_box.h"
#include "runtime/runtime_error.h"
#include "window_application.h"

#include <exception>

namespace tamrivel {

// A window program's main(): `Window` shown until it closes, Japanese
// throughout, and any error that escapes it reported in the box.
template <typename Window>
int runWindowProgram(int argc, char *argv[], const char *program, const QString &desktopId)
{
    if (!displayPresent(program))
        return 1;
    WindowApplication app(argc, argv, desktopId);
    try {
        Window window;
        window.show();
        return app.exec();
    } catch (const std::exception &error) {
        // Nothing was meant to get here; the user still gets the box rather
        // than a program that vanishes.
        showErrorBox(nullptr, RuntimeError::from(error));
        return 1;
    }
}

} // namespace tamrivel
