#pragma once

#include <QString>

namespace tamrivel {

// The first `count` UTF-16 code units of `text` (all of it when it is shorter).
// A negative count raises InvalidArgument: callers compute it from lengths and
// a negative one means the text was too short for what they meant to cut.
QString leftUnits(const QString &text, qsizetype count);

} // namespace tamrivel
