#pragma once

#include <QString>

namespace tamrivel {

inline constexpr char kEvenSuffix[] = "_g.bin";
inline constexpr char kOddSuffix[] = "_k.bin";

// The source path less its last four UTF-16 code units, whatever they are (an
// extension or not). Raises InvalidArgument for a path shorter than four. A
// cut through a character outside the BMP drops its dangling first half, so
// that the base stays valid text.
QString outputBase(const QString &sourcePath);

// The proposed output: the base followed by `suffix`.
QString proposedOutputName(const QString &sourcePath, const QString &suffix);

} // namespace tamrivel
