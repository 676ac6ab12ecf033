#pragma once

#include "cli/console_text.h"

#include <QStringList>

namespace tamrivel::cli {

// The causes a diagnosis found, one a line, in the form scripts look for.
inline void sayLikely(const QStringList &causes)
{
    for (const QString &cause : causes)
        say(QStringLiteral("  likely: %1\n").arg(cause));
}

} // namespace tamrivel::cli
