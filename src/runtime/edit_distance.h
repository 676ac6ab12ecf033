#pragma once

#include <QString>

namespace tamrivel {

// How many slips of the hand turn `one` into `other`: a letter added,
// dropped or changed, or two neighbours swapped.
qsizetype editDistance(const QString &one, const QString &other);

} // namespace tamrivel
