#pragma once

#include <QString>

#include <optional>

namespace tamrivel::cli {

// A size as a user types it: decimal, 0x hex, or with K or M (also KiB, MiB),
// which count 1024. Nothing for anything else, a negative or an overflow.
std::optional<qint64> parseSize(const QString &text);

// A byte value, 0 to 255, decimal or 0x hex.
std::optional<uchar> parseByte(const QString &text);

} // namespace tamrivel::cli
