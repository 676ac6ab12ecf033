#include "runtime/edit_distance.h"

#include <algorithm>
#include <vector>

namespace tamrivel {

qsizetype editDistance(const QString &one, const QString &other)
{
    const qsizetype columns = other.size() + 1;
    std::vector<qsizetype> table(size_t((one.size() + 1) * columns));
    const auto at = [&](qsizetype i, qsizetype j) -> qsizetype & { return table[size_t(i * columns + j)]; };
    for (qsizetype i = 0; i <= one.size(); ++i)
        at(i, 0) = i;
    for (qsizetype j = 0; j <= other.size(); ++j)
        at(0, j) = j;
    for (qsizetype i = 1; i <= one.size(); ++i) {
        for (qsizetype j = 1; j <= other.size(); ++j) {
            const qsizetype change = one[i - 1] == other[j - 1] ? 0 : 1;
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + change});
            if (i > 1 && j > 1 && one[i - 1] == other[j - 2] && one[i - 2] == other[j - 1])
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
        }
    }
    return at(one.size(), other.size());
}

} // namespace tamrivel
