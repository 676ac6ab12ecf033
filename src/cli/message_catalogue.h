#pragma once

#include <QCoreApplication>

namespace tamrivel::cli {

// Puts the companion's texts, and Qt's own that it shows (its help's
// headings, its parser's errors), in the user's language, where catalogues
// for it were installed; without them they stay English.
void useMessageCatalogues(QCoreApplication &app);

} // namespace tamrivel::cli
