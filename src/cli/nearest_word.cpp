#include "nearest_word.h"

#include "runtime/edit_distance.h"

namespace tamrivel::cli {

QString nearestWord(const QString &typed, const QStringList &known)
{
    // One slip in a short word, two in a long one; more is another word.
    const qsizetype allowed = typed.size() < 6 ? 1 : 2;
    const QString lower = typed.toLower();
    QString nearest;
    qsizetype fewest = allowed + 1;
    for (const QString &word : known) {
        if (const qsizetype distance = editDistance(lower, word); distance < fewest) {
            fewest = distance;
            nearest = word;
        }
    }
    return nearest;
}

} // namespace tamrivel::cli
