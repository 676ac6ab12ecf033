#include "cli/progress_line.h"

#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace tamrivel::cli;

namespace {

// A pseudo-terminal: what the program writes to `terminal`, a user would see
// on the screen; it is read back from `screen`.
struct PseudoTerminal {
    int screen = -1;
    std::FILE *terminal = nullptr;

    PseudoTerminal()
    {
        int device = -1;
        if (::openpty(&screen, &device, nullptr, nullptr, nullptr) == 0) {
            terminal = ::fdopen(device, "w");
            // Reading an empty screen must not wait for output that never comes.
            ::fcntl(screen, F_SETFL, ::fcntl(screen, F_GETFL) | O_NONBLOCK);
        }
    }
    ~PseudoTerminal()
    {
        if (terminal)
            std::fclose(terminal);
        if (screen >= 0)
            ::close(screen);
    }

    QByteArray shown()
    {
        std::fflush(terminal);
        QByteArray bytes(4096, '\0');
        const ssize_t got = ::read(screen, bytes.data(), size_t(bytes.size()));
        return bytes.left(got > 0 ? got : 0);
    }
};

} // namespace

class TestProgressLine : public QObject {
    Q_OBJECT

private slots:
    void silentWhenNotATerminal()
    {
        std::FILE *file = std::tmpfile();
        {
            ProgressLine line(QStringLiteral("rom.bin"), file, 0);
            QVERIFY(!line.callback());
        }
        QCOMPARE(std::ftell(file), 0L);
        std::fclose(file);
    }

    void showsPercentOnATerminal()
    {
        PseudoTerminal pty;
        QVERIFY(pty.terminal);
        {
            ProgressLine line(QStringLiteral("rom.bin"), pty.terminal, 0);
            const auto progress = line.callback();
            QVERIFY(progress);
            progress(qint64(3) << 29, qint64(2) << 30); // 1.5 of 2 GiB
        }
        const QByteArray shown = pty.shown();
        QVERIFY2(shown.contains("rom.bin:  75% (1536 / 2048 MiB)"), shown.constData());
        QVERIFY2(shown.endsWith('\n'), "the line is ended when the work is");
    }

    void quietForTheFirstSecond()
    {
        PseudoTerminal pty;
        QVERIFY(pty.terminal);
        {
            ProgressLine line(QStringLiteral("rom.bin"), pty.terminal);
            line.callback()(10, 100);
        }
        QCOMPARE(pty.shown(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestProgressLine)
#include "test_progress_line.moc"
