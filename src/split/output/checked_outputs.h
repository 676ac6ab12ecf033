#pragma once

#include "split/part_layout.h"

#include <QStringList>

namespace tamrivel {

class InputFile;

// The files a split of `source` writes, or a verify reads: those named, or
// with none named the names proposed from the source's. Raises UsageError
// for a count the layout does not have and for names to propose from a
// stream, and the layout's own errors for a way that does not fit its chip.
QStringList checkedOutputs(const InputFile &source, const QStringList &named, const PartLayout &layout);

// Raises UsageError, naming the file, for a stream (a pipe, a FIFO, a device)
// where `use` needs its size before it is read.
void requireKnownSize(const InputFile &file, const QString &use);

} // namespace tamrivel
