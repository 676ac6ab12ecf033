// Takes the real window from the screen into a PNG for the README, at the
// scale that QT_SCALE_FACTOR asks for: as after a split, or the Open dialog
// or an error box that it opens; or the check window after checking the
// dumps in the current folder (kick.bin and its chips). scripts/screenshot
// runs it on an X server.
//   QT_SCALE_FACTOR=2 render_window window|dialog|error|check OUTPUT.png
#include "app/file_converter.h"
#include "app/window_application.h"
#include "check/check_window.h"

#include <QDir>
#include <QListWidget>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstring>

namespace {

void fill(const tamrivel::FileConverter &window, const QString &source, const QString &even,
          const QString &odd)
{
    window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(source);
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(even);
    window.findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(odd);
}

// Saves what the screen shows of `widget`, once it has been drawn there.
bool saveFromScreen(QWidget *widget, const QString &output)
{
    while (!widget->windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    widget->repaint();
    QApplication::processEvents();
    return widget->screen()->grabWindow(widget->winId()).save(output);
}

// Saves the modal widget that `button` opens, then closes it and the program.
int renderModal(tamrivel::FileConverter &window, const char *button, const QString &output)
{
    int status = 1;
    auto *poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        status = saveFromScreen(modal, output) ? 0 : 1;
        modal->close();
        QCoreApplication::quit();
    });
    poll->start(50);
    QTimer::singleShot(0, &window,
                       [&] { window.findChild<QPushButton *>(QString::fromLatin1(button))->click(); });
    QApplication::exec();
    return status;
}

// The check window once it has checked the dumps in the current folder.
int renderCheck(const QString &output)
{
    tamrivel::CheckWindow window;
    window.show();
    const QDir here = QDir::current();
    window.findChild<QLineEdit *>(QStringLiteral("imageField"))
        ->setText(QDir::toNativeSeparators(here.absoluteFilePath(QStringLiteral("kick.bin"))));
    for (const char *dump : {"kick_g.bin", "kick_k.bin", "kick_k-2.bin", "other.bin"})
        window.findChild<QListWidget *>(QStringLiteral("dumpList"))
            ->addItem(QDir::toNativeSeparators(here.absoluteFilePath(QString::fromLatin1(dump))));
    auto *stop = window.findChild<QPushButton *>(QStringLiteral("stopButton"));
    window.findChild<QPushButton *>(QStringLiteral("checkButton"))->click();
    while (stop->isEnabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return saveFromScreen(&window, output) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    tamrivel::WindowApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: render_window window|dialog|error|check OUTPUT.png\n", stderr);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "check") == 0)
        return renderCheck(output);
    tamrivel::FileConverter window;
    window.show();
    if (std::strcmp(argv[1], "dialog") == 0)
        return renderModal(window, "com_refer", output);
    if (std::strcmp(argv[1], "error") == 0) {
        const QString missing = QStringLiteral("/home/user/ダウンロード/エミュレータ用のイメージ/"
                                               "ボード改訂版B/カーネルロム 第二版/kick.bin");
        fill(window, missing, QStringLiteral("/tmp/kick_g.bin"), QStringLiteral("/tmp/kick_k.bin"));
        return renderModal(window, "com_sprit", output);
    }
    fill(window, QStringLiteral("/home/user/rom/kick.bin"), QStringLiteral("/home/user/rom/kick_g.bin"),
         QStringLiteral("/home/user/rom/kick_k.bin"));
    window.findChild<QLabel *>(QStringLiteral("Label3"))->setText(QStringLiteral("分割完了しました。"));
    return saveFromScreen(&window, output) ? 0 : 1;
}
