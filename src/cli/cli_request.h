#pragma once

#include "split/deal_shape.h"
#include "split/output/existing_outputs.h"
#include "split/part_layout.h"
#include "split/usage_error.h"

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
    Existing existing = Existing::Keep; // --force: Replace
};

} // namespace tamrivel::cli
