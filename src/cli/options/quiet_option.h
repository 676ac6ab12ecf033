#pragma once

#include <QCommandLineOption>

namespace tamrivel::cli {

// --quiet, for the verbs that report the files they wrote.
inline QCommandLineOption quietOption()
{
    return QCommandLineOption(QStringLiteral("quiet"), QStringLiteral("Print nothing on success."));
}

} // namespace tamrivel::cli
