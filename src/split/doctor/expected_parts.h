#pragma once

#include "split/part_layout.h"

#include <QByteArray>
#include <QList>

#include <atomic>

namespace tamrivel {

class InputFile;

// What a split of `source` as `layout` writes to each file, dealt again into
// memory rather than to the files.
struct ExpectedParts {
    QList<QByteArray> digests; // of every file, in the layout's order
    QByteArray kept; // the bytes of the file asked for
};

// One pass over `source` from its start, in constant memory beside the file
// kept (-1: none). `names` name the files in errors.
ExpectedParts dealExpected(InputFile &source, const PartLayout &layout, const QStringList &names, int kept,
                           const std::atomic<bool> *stop);

// The bytes a part holds as verify reads it, from its start: filled to its
// size if a record file stops short, and digested; kept only when `keep`.
struct FoundPart {
    QByteArray digest;
    QByteArray bytes;
};
FoundPart readFoundPart(InputFile &part, bool keep);

} // namespace tamrivel
