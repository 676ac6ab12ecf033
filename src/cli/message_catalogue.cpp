#include "message_catalogue.h"

#include "split/platform/console.h"

#include <QTranslator>

namespace tamrivel::cli {

void useMessageCatalogues(QCoreApplication &app)
{
    const QString programs = QCoreApplication::applicationDirPath();
    const QLocale language = platform::messagesLocale();
    for (const QString &name : {QStringLiteral("tamrivel"), QStringLiteral("qtbase")}) {
        auto *catalogue = new QTranslator(&app);
        // Beside the program on Windows and in a build tree; under share/
        // once installed on POSIX.
        if (catalogue->load(language, name, QStringLiteral("_"),
                            programs + QStringLiteral("/translations")) ||
            catalogue->load(language, name, QStringLiteral("_"),
                            programs + QStringLiteral("/../share/tamrivel/translations")))
            QCoreApplication::installTranslator(catalogue);
        else
            delete catalogue;
    }
}

} // namespace tamrivel::cli
