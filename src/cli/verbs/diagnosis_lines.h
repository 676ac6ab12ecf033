#pragma once

#include "cli/console_text.h"
#include "cli/words.h"
#include "split/doctor/finding.h"

#include <QStringList>

namespace tamrivel::cli {

// "N bytes differ", as verify and identify say it.
inline QString bytesDiffer(qint64 count)
{
    return count == 1 ? Words::tr("1 byte differs") : Words::tr("%1 bytes differ").arg(count);
}

// The causes a diagnosis found, one a line, in the form scripts look for.
inline void sayLikely(const QList<Finding> &causes)
{
    for (const Finding &cause : causes)
        say(Words::tr("  likely: %1\n").arg(findingText(cause)));
}

} // namespace tamrivel::cli
