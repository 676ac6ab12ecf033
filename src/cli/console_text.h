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

// A report that could not be written (a full disk, a closed stdout) is a
// failure, or a script would take the missing report for success.
inline void flushStandardOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw RuntimeError(ErrorNumber::DeviceIo, RuntimeError::tr("standard output"));
}

// A path as the user's system writes it.
inline QString shown(const QString &path)
{
    return shownPath(path);
}

} // namespace tamrivel::cli
