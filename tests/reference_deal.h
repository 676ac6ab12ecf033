#pragma once

// A deliberately naive deal, byte by byte from first principles, to check the
// block kernels against.

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace tamrivel::testing {

inline QList<QByteArray> referenceDeal(const QByteArray &source, int ways, int width, bool swap)
{
    QList<QByteArray> parts(ways);
    const qsizetype n = source.size();
    const qsizetype round = qsizetype(ways) * width;
    for (qsizetype start = 0; start < n; start += width) {
        const int way = int((start % round) / width);
        const qsizetype unit = std::min<qsizetype>(width, n - start);
        QByteArray bytes = source.mid(start, unit);
        if (swap)
            std::reverse(bytes.begin(), bytes.end());
        parts[way] += bytes;
    }
    return parts;
}

inline QByteArray patternBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed * 2654435761u + 1;
    for (qsizetype i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

} // namespace tamrivel::testing
