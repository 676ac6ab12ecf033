#pragma once

#include <QStringList>

namespace tamrivel {

class InputFile;
class PartLayout;

// The files a split of `source` writes: those named, or with none named the
// names `layout` proposes from the source's. Raises UsageError where there
// is no name to propose from: a stream, or a file the system makes up.
QStringList outputNames(const InputFile &source, const QStringList &named, const PartLayout &layout);

} // namespace tamrivel
