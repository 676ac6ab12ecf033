#pragma once

#include <QString>
#include <QStringList>

namespace tamrivel::cli {

// The word of `known` that `typed` most likely mistypes (a letter left out,
// doubled, swapped or wrong), or empty where none is near enough to
// suggest.
QString nearestWord(const QString &typed, const QStringList &known);

} // namespace tamrivel::cli
