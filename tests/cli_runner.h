#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>

namespace tamrivel::testing {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes; // standard output as written, for an image
};

// Starts the real tamrivel-cli in `process`; true once it runs. A loaded
// Wine now and then fails to create a process at all, before any of the
// program has run: that says nothing of the program, so it is tried once
// more. A crash is never retried.
inline bool startCli(QProcess &process, const QStringList &arguments)
{
    constexpr int kTries = 2;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        process.start(QStringLiteral(TAMRIVEL_CLI_PATH), arguments);
        if (process.waitForStarted(60000))
            return true;
        if (process.error() != QProcess::FailedToStart)
            return false;
    }
    return false;
}

// Runs the real tamrivel-cli in `folder` with `input` on its standard input,
// which then ends, and waits for it to finish. `inChild` runs in the child
// before the program starts (to set limits).
inline CliResult runCli(const QStringList &arguments, const QString &folder = QString(),
                        const std::function<void()> &inChild = {}, const QByteArray &input = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
#ifdef Q_OS_UNIX
    if (inChild)
        process.setChildProcessModifier(inChild);
#else
    if (inChild)
        qFatal("only POSIX runs code in a child before the program");
#endif
    const bool started = startCli(process, arguments);
    if (started) {
        process.write(input);
        process.closeWriteChannel();
    }
    CliResult result;
    if (!started || !process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        // Said in full, so that a failure in CI can be told from a timeout.
        result.err = QStringLiteral("did not finish: %1, exit code 0x%2")
                         .arg(process.errorString())
                         .arg(uint(process.exitCode()), 0, 16);
        return result;
    }
    result.exitCode = process.exitCode();
    // What lands in a pipe is UTF-8 on every system.
    // and lines end as the system ends them in text.
    result.outBytes = process.readAllStandardOutput();
    result.out = QString::fromUtf8(result.outBytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.err = QString::fromUtf8(process.readAllStandardError())
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

} // namespace tamrivel::testing
