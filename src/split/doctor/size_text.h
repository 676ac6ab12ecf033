#pragma once

#include <QString>

namespace tamrivel {

// A size as --size takes it and chip names say it: 16K, 2M, else bytes.
inline QString sizeText(qint64 bytes)
{
    constexpr qint64 kKiB = 1024;
    if (bytes > 0 && bytes % (kKiB * kKiB) == 0)
        return QStringLiteral("%1M").arg(bytes / (kKiB * kKiB));
    if (bytes > 0 && bytes % kKiB == 0)
        return QStringLiteral("%1K").arg(bytes / kKiB);
    return QString::number(bytes);
}

} // namespace tamrivel
