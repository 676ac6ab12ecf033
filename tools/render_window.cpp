// Renders the real window, as after a split, to a PNG for the README:
//   QT_QPA_PLATFORM=offscreen render_window docs/window.png
#include "app/file_converter.h"
#include "app/window_font.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: render_window OUTPUT.png\n", stderr);
        return 2;
    }
    tamrivel::useWindowFont();
    tamrivel::FileConverter window;
    window.findChild<QLineEdit *>(QStringLiteral("Text1"))
        ->setText(QStringLiteral("/home/user/rom/kick.bin"));
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))
        ->setText(QStringLiteral("/home/user/rom/kick_g.bin"));
    window.findChild<QLineEdit *>(QStringLiteral("Text3"))
        ->setText(QStringLiteral("/home/user/rom/kick_k.bin"));
    window.findChild<QLabel *>(QStringLiteral("Label3"))
        ->setText(tamrivel::FileConverter::splitDoneMessage());
    window.show();
    QApplication::processEvents();
    // Twice the size, so the Japanese captions stay legible on the page.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    QPixmap picture(window.size() * 2);
    picture.setDevicePixelRatio(2);
    window.render(&picture);
    return picture.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
