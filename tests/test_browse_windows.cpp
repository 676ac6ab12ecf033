#include "runtime/common_dialog.h"
#include "runtime/runtime_error.h"
#include "temp_files.h"
#include "window_probe.h"

#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include <windows.h>

#include <dlgs.h>

using namespace tamrivel;
using namespace tamrivel::testing;

class TestBrowseWindows : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QStringList offered; // the type list as the last dialog showed it
    bool readOnlyBox = true;

    // The window's thread sits in the dialog's own loop while it is open, so
    // the user is played from a second thread, finding the dialog by title.
    // The dialog fills its controls before it shows itself, and a message
    // sent before it listens is lost on a busy machine: the user waits for it
    // to be shown, and acts again until it closes. True when it was shown.
    bool whileOpen(const std::function<void(HWND)> &act, const std::function<void()> &open)
    {
        std::atomic<bool> returned{false};
        std::atomic<bool> shown{false};
        std::thread user([&] {
            QDeadlineTimer deadline(60000);
            HWND dialog = nullptr;
            for (; !returned && !deadline.hasExpired(); ::Sleep(20)) {
                dialog = ::FindWindowW(L"#32770", L"分割ファイルの指定");
                if (dialog && ::IsWindowVisible(dialog))
                    break;
            }
            if (!dialog || returned)
                return; // never shown
            shown = true;
            const HWND types = ::GetDlgItem(dialog, cmb1);
            offered.clear();
            for (LRESULT i = 0; i < ::SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
                wchar_t text[256] = {};
                ::SendMessageW(types, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
                offered.append(QString::fromWCharArray(text));
            }
            offered.append(QString::number(::SendMessageW(types, CB_GETCURSEL, 0, 0)));
            readOnlyBox = ::IsWindowVisible(::GetDlgItem(dialog, chx1));
            while (::IsWindow(dialog) && !deadline.hasExpired()) {
                act(dialog);
                for (QDeadlineTimer settle(3000); ::IsWindow(dialog) && !settle.hasExpired();)
                    ::Sleep(20);
            }
        });
        try {
            open();
        } catch (...) {
            returned = true;
            user.join();
            throw;
        }
        returned = true;
        user.join();
        return shown;
    }

    static void click(HWND dialog, int button)
    {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       LPARAM(::GetDlgItem(dialog, button)));
    }

    static bool qtSettingsExist()
    {
        HKEY key = nullptr;
        const bool exists =
            ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QtProject", 0, KEY_READ, &key) == 0;
        if (exists)
            ::RegCloseKey(key);
        return exists;
    }

private slots:
    void initTestCase()
    {
        writeBytes(dir.filePath("rom.bin"), "0123456789");
        writeBytes(dir.filePath("kickstart"), "no dot in this name");
    }

    void closingTheDialogIsTheCancelError_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("Cancel button") << 1;
        QTest::newRow("closed") << 2;
    }

    void closingTheDialogIsTheCancelError()
    {
        QFETCH(int, how);
        CommonDialog dialog;
        dialog.setDialogTitle(QStringLiteral("分割ファイルの指定"));
        dialog.setCancelError(true);
        ErrorNumber raised = ErrorNumber::InvalidArgument;
        const bool seen = whileOpen(
            [how](HWND shown) {
                GUITHREADINFO focus{}; // a key goes where the dialog put the focus
                focus.cbSize = sizeof focus;
                ::GetGUIThreadInfo(::GetWindowThreadProcessId(shown, nullptr), &focus);
                if (how == 0)
                    ::PostMessageW(focus.hwndFocus ? focus.hwndFocus : shown, WM_KEYDOWN, VK_ESCAPE, 1);
                else if (how == 1)
                    click(shown, IDCANCEL);
                else
                    ::PostMessageW(shown, WM_CLOSE, 0, 0);
            },
            [&] {
                try {
                    dialog.ShowOpen();
                } catch (const RuntimeError &error) {
                    raised = error.number();
                }
            });
        QVERIFY(seen);
        QCOMPARE(raised, ErrorNumber::Cancelled);
        QVERIFY(!qtSettingsExist());
    }

    // Twice through one component, as the window holds it: the second browse
    // opens where the first ended, so a bare name is found there.
    void chosenFileComesBackWithItsFullPath()
    {
        CommonDialog dialog;
        dialog.setDialogTitle(QStringLiteral("分割ファイルの指定"));
        dialog.setCancelError(true);
        dialog.setFlags(CommonDialog::HideReadOnly);
        dialog.setFilter(QStringLiteral("バイナリ ファイル (*.bin)|*.bin|すべてのファイル (*.*)|*.*|"));
        dialog.setFilterIndex(1);
        const QString current = QDir::currentPath();
        QString raised;
        for (const QString &name :
             {QDir::toNativeSeparators(dir.filePath("rom.bin")), QStringLiteral("kickstart")}) {
            const bool seen = whileOpen(
                [&](HWND shown) {
                    const HWND box =
                        ::GetDlgItem(shown, cmb13) ? ::GetDlgItem(shown, cmb13) : ::GetDlgItem(shown, edt1);
                    ::SendMessageW(box, WM_SETTEXT, 0, LPARAM(name.utf16()));
                    click(shown, IDOK);
                },
                [&] {
                    raised.clear();
                    try {
                        dialog.ShowOpen();
                    } catch (const RuntimeError &error) {
                        raised = QStringLiteral("%1 %2").arg(error.code()).arg(error.detail());
                    }
                });
            QVERIFY(seen);
            QVERIFY2(raised.isEmpty(), qPrintable(raised));
            QCOMPARE(dialog.FileName(), QDir::toNativeSeparators(dir.filePath(QFileInfo(name).fileName())));
        }
        QCOMPARE(offered, QStringList({"バイナリ ファイル (*.bin)", "すべてのファイル (*.*)", "0"}));
        QVERIFY(!readOnlyBox);
        QCOMPARE(QDir::currentPath(), current);
        QVERIFY(!qtSettingsExist());
    }
};

TAMRIVEL_WINDOW_TEST_MAIN(TestBrowseWindows)
#include "test_browse_windows.moc"
