#pragma once

#include "cli/console_text.h"

#include <QStringList>

namespace tamrivel::cli {

// "N bytes differ", as verify and identify say it.
inline QString bytesDiffer(qint64 count)
{
    return count == 1 ? QStringLiteral("1 byte differs") : QStringLiteral("%1 bytes differ").arg(count);
}

// The causes a diagnosis found, one a line, in the form scripts look for.
inline void sayLikely(const QStringList &causes)
{
    for (const QString &cause : causes)
        say(QStringLiteral("  likely: %1\n").arg(cause));
}

} // namespace tamrivel::cli
