#pragma once

#include <QProcess>
#include <QStringList>

namespace tamrivel::testing {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the real tamrivel-cli in `folder` and waits for it to finish.
inline CliResult runCli(const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(TAMRIVEL_CLI_PATH), arguments);
    CliResult result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace tamrivel::testing
