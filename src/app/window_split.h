#pragma once

#include <QString>

#include <atomic>

namespace tamrivel {

// The split as the window's split button runs it, on the three paths of its
// fields. The fields are checked in the order the split opens the files
// (source, 偶数, 奇数), so the error a user sees is the first one the split
// meets; an empty field is named rather than shown as an empty file name.
// Each field's text is taken as the platform takes a pasted path.
// Setting `stop` abandons the split at the next block, raising Cancelled and
// leaving every file as it was.
void splitFromFields(const QString &source, const QString &even, const QString &odd,
                     const std::atomic<bool> &stop);

} // namespace tamrivel
