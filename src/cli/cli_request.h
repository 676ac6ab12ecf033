#pragma once

#include "split/deal_shape.h"

#include <QStringList>

namespace tamrivel::cli {

// What the command line asks for, once it has been understood.
struct CliRequest {
    enum class Verb { Split, Join, Help, Version };
    Verb verb = Verb::Help;
    QStringList inputs; // the source, or the parts to join
    QStringList outputs; // the parts to write, or the joined file
    DealShape shape;
    bool quiet = false;
    QString helpText;
};

// A command line that cannot be carried out as written (exit status 2).
struct UsageError {
    QString message;
};

// Understands `arguments` (the program name first). Raises UsageError for a
// malformed line and RuntimeError when proposed output names cannot be made.
CliRequest parseCommandLine(const QStringList &arguments);

} // namespace tamrivel::cli
