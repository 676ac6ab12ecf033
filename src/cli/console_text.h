#pragma once

#include "split/process.h"

#include <QDir>
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
    return QDir::toNativeSeparators(path);
}

} // namespace tamrivel::cli
