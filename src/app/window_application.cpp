#include "window_application.h"

#include "product.h"
#include "window_font.h"

#include <QLocale>
#include <QSettings>

namespace tamrivel {
namespace {

// QApplication keeps both for its whole life.
int qtArgumentCount = 1;
char *qtArguments[] = {nullptr, nullptr};

char **programNameOnly(int argc, char *argv[])
{
    static char fallbackName[] = "tamrivel";
    qtArguments[0] = argc > 0 && argv[0] ? argv[0] : fallbackName;
    return qtArguments;
}

// Qt's Open dialog saves its history, last folder and side bar to the user's
// settings when it closes. This program keeps no state, so those settings are
// pointed at a place inside the program's own read-only resources: reading
// finds nothing and writing fails quietly, leaving no file anywhere.
void keepNoSettings()
{
    const QString nowhere = QStringLiteral(":/tamrivel/no-settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

} // namespace

WindowApplication::WindowApplication(int argc, char *argv[], const QString &desktopId)
    : QApplication(qtArgumentCount, programNameOnly(argc, argv))
{
    setApplicationName(QString::fromUtf8(kProductName));
    setApplicationVersion(QString::fromUtf8(kProductVersion));
    setDesktopFileName(desktopId);
    keepNoSettings();
    // Qt's own texts (the Open dialog, the error box's buttons) and the
    // engine's (the errors' descriptions) in Japanese, from the catalogues
    // built into the program.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (m_qtJapanese.load(QStringLiteral(":/translations/qtbase_ja.qm")))
        installTranslator(&m_qtJapanese);
    if (m_ourJapanese.load(QStringLiteral(":/translations/tamrivel_ja.qm")))
        installTranslator(&m_ourJapanese);
    installTranslator(&m_fileTypeNames);
    useWindowFont();
}

} // namespace tamrivel
