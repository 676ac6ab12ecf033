#include "cli/progress_line.h"

#include <QTest>

#include <cstdio>

#ifndef Q_OS_WIN
#include <poll.h>
#include <pty.h>
#include <unistd.h>
#endif

using namespace tamrivel::cli;

#ifndef Q_OS_WIN
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
        }
    }
    ~PseudoTerminal()
    {
        if (terminal)
            std::fclose(terminal);
        if (screen >= 0)
            ::close(screen);
    }

    // Everything written so far. The kernel hands pseudo-terminal output to the
    // reading side asynchronously, so a single read may see only part of it:
    // write an end mark and read until it arrives.
    QByteArray shown()
    {
        static constexpr char endMark[] = "<end>";
        std::fputs(endMark, terminal);
        std::fflush(terminal);
        QByteArray bytes;
        pollfd readable{screen, POLLIN, 0};
        while (!bytes.contains(endMark) && ::poll(&readable, 1, 10000) > 0) {
            char chunk[4096];
            const ssize_t got = ::read(screen, chunk, sizeof chunk);
            if (got <= 0)
                break;
            bytes.append(chunk, got);
        }
        const qsizetype end = bytes.indexOf(endMark);
        return end >= 0 ? bytes.left(end) : QByteArray("(the end mark never arrived)");
    }
};

} // namespace
#endif

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
#ifdef Q_OS_WIN
        QSKIP("needs a pseudo-terminal");
#else
        PseudoTerminal pty;
        QVERIFY(pty.terminal);
        {
            ProgressLine line(QStringLiteral("rom%1.bin"), pty.terminal, 0);
            const auto progress = line.callback();
            QVERIFY(progress);
            progress(qint64(3) << 29, qint64(2) << 30); // 1.5 of 2 GiB
        }
        const QByteArray shown = pty.shown();
        QVERIFY2(shown.contains("rom%1.bin:  75% (1536 / 2048 MiB)"), shown.constData());
        QVERIFY2(shown.endsWith('\n'), "the line is ended when the work is");
#endif
    }

    void quietForTheFirstSecond()
    {
#ifdef Q_OS_WIN
        QSKIP("needs a pseudo-terminal");
#else
        PseudoTerminal pty;
        QVERIFY(pty.terminal);
        {
            ProgressLine line(QStringLiteral("rom.bin"), pty.terminal);
            line.callback()(10, 100);
        }
        QCOMPARE(pty.shown(), QByteArray());
#endif
    }
};

QTEST_GUILESS_MAIN(TestProgressLine)
#include "test_progress_line.moc"
