#pragma once

#include "split/deal_shape.h"
#include "split/part_layout.h"
#include "split/usage_error.h"

#include <QStringList>

namespace tamrivel::cli {

// What the command line asks for, once it has been understood.
struct CliRequest {
    enum class Verb { Split, Join, Verify, Chips, Help, Version };
    Verb verb = Verb::Help;
    QStringList inputs; // the source, or the parts to join
    QStringList outputs; // the files to write (none named: proposed), or the parts to verify
    DealShape shape;
    ChipFit fit;
    qint64 length = -1; // join: cut the output to this many bytes
    bool quiet = false;
    QString helpText;
};

// Understands `arguments` (the program name first). Raises UsageError for a
// malformed line.
CliRequest parseCommandLine(const QStringList &arguments);

} // namespace tamrivel::cli
