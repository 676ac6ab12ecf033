#pragma once

#include "split/deal_shape.h"
#include "split/part_layout.h"

#include <QStringList>

namespace tamrivel::cli {

// What a verb's command line asks for, once it has been understood.
struct CliRequest {
    QStringList inputs; // the source, or the parts to join
    QStringList outputs; // the files to write (none named: proposed), or the parts to verify
    DealShape shape;
    ChipFit fit;
    qint64 length = -1; // join: cut the output to this many bytes
    bool quiet = false;
};

// A command line that cannot be carried out as written (exit status 2).
struct UsageError {
    QString message;
    QString verb = {}; // the verb whose line it is, to point at its help
};

} // namespace tamrivel::cli
