#pragma once

#include <QString>

namespace tamrivel {

// Empty, NUL-bearing or malformed UTF-16 text cannot name a file.
void checkPathText(const QString &path);

} // namespace tamrivel
