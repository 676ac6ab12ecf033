#pragma once

#include "app/file_converter.h"
#include "app/window_application.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tamrivel::testing {

// Headless even when run by hand from a desktop session: this runs before
// main() creates the application.
inline const bool kOffscreen = [] {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// What the status line says after a split that went well.
inline const QString kSplitDone = QStringLiteral("分割完了しました。");

// Watches for modal boxes all through a window test. The box that the test
// announced goes to its handler; any other fails the test at once and is
// closed, so that the test goes on instead of hanging until it times out.
class ModalGuard : public QObject {
public:
    ModalGuard()
    {
        connect(&m_poll, &QTimer::timeout, this, &ModalGuard::look);
        m_poll.start(10);
    }

    void expect(std::function<void(QWidget *)> handle)
    {
        m_handle = std::move(handle);
        m_deadline.setRemainingTime(5000);
    }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_handling || (!modal && (!m_handle || !m_deadline.hasExpired())))
            return;
        if (!m_handle) {
            QTest::qFail(qPrintable("unexpected modal box " + modal->objectName()), __FILE__, __LINE__);
            modal->close();
            return;
        }
        if (!modal)
            QTest::qFail("the modal box the test waited for never opened", __FILE__, __LINE__);
        m_handling = true; // the handler may wait for something inside the box
        std::exchange(m_handle, {})(modal);
        m_handling = false;
    }

    QTimer m_poll;
    std::function<void(QWidget *)> m_handle;
    QDeadlineTimer m_deadline;
    bool m_handling = false;
};

// The control of `window` named `name`; the test stops where there is none.
template <typename T = QWidget>
T *namedControl(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

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
        return namedControl<T>(window.get(), name);
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

    // The wait cursor is up exactly while a split runs.
    static bool splitting() { return QGuiApplication::overrideCursor() != nullptr; }
    static bool waitForTheSplitToEnd()
    {
        return QTest::qWaitFor([] { return !splitting(); }, 60000);
    }

    // A completed split of `source` in its own folder, so that the status
    // line shows the message; true when it does. Leaves the outputs behind.
    bool completeASplit(const QString &source) const
    {
        const QString folder = QFileInfo(source).absolutePath();
        fill(source, folder + QStringLiteral("/done_g"), folder + QStringLiteral("/done_k"));
        click("com_sprit");
        return waitForTheSplitToEnd() && status() == kSplitDone;
    }

    // Runs `handle` on the modal box that opens next. An action that opens a
    // dialog blocks until it is closed, so the box is looked for from a timer.
    template <typename Box>
    void whenModalOpens(std::function<void(Box *)> handle)
    {
        guard.expect([handle](QWidget *modal) { handle(qobject_cast<Box *>(modal)); });
    }

    ModalGuard guard;
    std::unique_ptr<FileConverter> window;
    bool active = false;
};

} // namespace tamrivel::testing

// A test's main(), with the program's own application object, so that the
// window is tested as users get it (Japanese texts, font, settings). Qt's own
// options are handed to it as a user might type them: none may take effect
// (-platform names no platform at all: taken, it would end the test).
#define TAMRIVEL_WINDOW_TEST_MAIN(TestObject)                                                                \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        static char options[][16] = {"-qwindowtitle", "Renamed", "-reverse",  "-style",     "windows",       \
                                     "-stylesheet",   "x.qss",   "-platform", "no-such-one"};                \
        std::vector<char *> typed = {argv[0]};                                                               \
        for (char *option : options)                                                                         \
            typed.push_back(option);                                                                         \
        typed.push_back(nullptr);                                                                            \
        tamrivel::WindowApplication app(int(typed.size()) - 1, typed.data());                                \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
