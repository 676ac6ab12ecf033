#pragma once

#include "app/file_converter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace tamrivel::testing {

// Headless even when run by hand from a desktop session: this runs before
// main() creates the application.
inline const bool kOffscreen = [] {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// The real window, shown and active, with its controls found by name.
class WindowProbe {
public:
    WindowProbe() : window(std::make_unique<FileConverter>())
    {
        window->show();
        active = QTest::qWaitForWindowActive(window.get());
    }

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    QLineEdit *text(const char *name) const { return child<QLineEdit>(name); }
    QString status() const { return child<QLabel>("Label3")->text(); }
    QStringList fields() const
    {
        return {text("Text1")->text(), text("Text2")->text(), text("Text3")->text()};
    }

    void fill(const QString &source, const QString &even, const QString &odd) const
    {
        text("Text1")->setText(source);
        text("Text2")->setText(even);
        text("Text3")->setText(odd);
    }

    void click(const char *button) const { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    // A completed split of `source` in its own folder, so that the status
    // line shows the message; true when it does. Leaves the outputs behind.
    bool completeASplit(const QString &source) const
    {
        const QString folder = QFileInfo(source).absolutePath();
        fill(source, folder + QStringLiteral("/done_g"), folder + QStringLiteral("/done_k"));
        click("com_sprit");
        return status() == FileConverter::splitDoneMessage();
    }

    std::unique_ptr<FileConverter> window;
    bool active = false;
};

// Runs `handle` on the modal dialog that the next action opens; the action
// itself blocks until the dialog is closed. It polls rather than waits, since
// the dialog's own event loop runs above whatever started it.
template <typename Dialog>
void whenModalOpens(QObject *context, std::function<void(Dialog *)> handle)
{
    auto *poll = new QTimer(context);
    auto *deadline = new QElapsedTimer;
    deadline->start();
    QObject::connect(poll, &QTimer::timeout, context, [poll, deadline, handle] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && deadline->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete deadline;
        if (!modal)
            qWarning("no modal dialog opened");
        handle(qobject_cast<Dialog *>(modal));
    });
    poll->start(10);
}

} // namespace tamrivel::testing
