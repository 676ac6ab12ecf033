#pragma once

#include "runtime/runtime_error.h"
#include "split/platform/console.h"

#include <QString>

#include <cstdio>

namespace tamrivel::cli {

inline void say(const QString &text, std::FILE *to = stdout)
{
    platform::writeText(to, text);
}

// A path as the user's system writes it.
inline QString shown(const QString &path)
{
    return shownPath(path);
}

} // namespace tamrivel::cli
