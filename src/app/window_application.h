#pragma once

#include "file_type_names.h"

#include <QApplication>
#include <QTranslator>

namespace tamrivel {

// The application object of the window program, set up the same way for
// every run: Japanese throughout whatever the user's locale, a font with
// Japanese glyphs, and nothing written to the user's settings.
//
// The command line is not the program's to act on, so Qt is shown only the
// program's name: none of Qt's own options (-style, -reverse, -qwindowtitle,
// -platform ...) take effect.
class WindowApplication : public QApplication {
public:
    // `desktopId` names the program's desktop entry, by which the desktop
    // finds its name and icon for the window.
    WindowApplication(int argc, char *argv[],
                      const QString &desktopId = QStringLiteral("org.tamrivel.Tamrivel"));

private:
    QTranslator m_qtJapanese;
    QTranslator m_ourJapanese;
    FileTypeNames m_fileTypeNames;
};

} // namespace tamrivel
