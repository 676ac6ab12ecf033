#pragma once

#include "cli/words.h"

#include <QCommandLineOption>

namespace tamrivel::cli {

// --quiet, for the verbs that report the files they wrote.
inline QCommandLineOption
quietOption(const QString &description = Words::tr("Print nothing on success: errors only."))
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")}, description);
}

// --force (-f), for the verbs that write files: without it, an output that
// exists is refused, as one named in the wrong place may be the source.
inline QCommandLineOption forceOption()
{
    return QCommandLineOption({QStringLiteral("f"), QStringLiteral("force")},
                              Words::tr("Replace outputs that exist (without it, they are refused and "
                                        "nothing is written)."));
}

} // namespace tamrivel::cli
