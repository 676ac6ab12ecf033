#pragma once

#include <QString>

namespace tamrivel {

// Empty, NUL-bearing or malformed UTF-16 text cannot name a file; raised
// before anything is opened, so that a typo never leaves a file behind.
void checkPathText(const QString &path);

} // namespace tamrivel
