#pragma once

#include "cli/words.h"

#include <QCommandLineOption>

namespace tamrivel::cli {

// --raw, for the verbs that read chip images: a dump may hold text, such as
// a message ROM's, that reads like records.
inline QCommandLineOption rawOption(const QString &files)
{
    return QCommandLineOption(QStringLiteral("raw"),
                              Words::tr("Take each %1 as raw bytes, even if it looks like Intel HEX, "
                                        "S-records or another converter's text.")
                                  .arg(files));
}

} // namespace tamrivel::cli
