#include "standard_streams.h"

#include "runtime/runtime_error.h"
#include "split/platform/console.h"
#include "split/usage_error.h"

#include <QDir>

#include <cstdio>
#include <vector>

namespace tamrivel::cli {
namespace {

constexpr size_t kBlock = 1024 * 1024;

void throwIfStopped(const std::atomic<bool> *stop)
{
    if (stop && stop->load())
        throw RuntimeError(ErrorNumber::Cancelled);
}

QString temporaryTemplate()
{
    return QDir::tempPath() + QStringLiteral("/tamrivel-cli-XXXXXX");
}

} // namespace

void refuseStandardStreams(const QStringList &files, const QString &verb, const QString &role)
{
    for (const QString &file : files) {
        if (isStandardStream(file))
            throw UsageError{UsageError::tr("%1 cannot use standard input or output for its %2: name "
                                            "a file (./- for one named '-')")
                                 .arg(verb, role)};
    }
}

StandardInputCopy::StandardInputCopy(const std::atomic<bool> *stop) : m_file(temporaryTemplate())
{
    if (!m_file.open())
        throw RuntimeError(ErrorNumber::AccessDenied, QDir::tempPath());
    platform::useBinaryMode(stdin);
    std::vector<char> buffer(kBlock);
    for (;;) {
        // A Ctrl+C interrupts a read that waits for more (POSIX), and is
        // seen here.
        const size_t got = std::fread(buffer.data(), 1, buffer.size(), stdin);
        throwIfStopped(stop);
        if (got > 0 && m_file.write(buffer.data(), qint64(got)) != qint64(got))
            break;
        if (got < buffer.size()) {
            if (std::ferror(stdin))
                throw RuntimeError(ErrorNumber::DeviceIo, standardInputName());
            break;
        }
    }
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError)
        throw RuntimeError(m_file.error() == QFileDevice::ResourceError ? ErrorNumber::DiskFull
                                                                        : ErrorNumber::DeviceIo,
                           m_file.fileName());
    m_file.close();
}

void copyToStandardOutput(const QString &path, const std::atomic<bool> *stop)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(ErrorNumber::DeviceIo, path);
    platform::useBinaryMode(stdout);
    std::vector<char> buffer(kBlock);
    for (;;) {
        const qint64 got = file.read(buffer.data(), qint64(buffer.size()));
        if (got < 0)
            throw RuntimeError(ErrorNumber::DeviceIo, path);
        if (got == 0)
            break;
        const size_t wrote = std::fwrite(buffer.data(), 1, size_t(got), stdout);
        throwIfStopped(stop);
        if (wrote != size_t(got))
            throw RuntimeError(ErrorNumber::DeviceIo, standardOutputName());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw RuntimeError(ErrorNumber::DeviceIo, standardOutputName());
}

void standingFor(const QString &temporary, const QString &stream, const std::function<void()> &work)
{
    try {
        work();
    } catch (const RuntimeError &error) {
        // A full temporary folder is named as itself: that is where room
        // must be made.
        if (error.path() != temporary || error.number() == ErrorNumber::DiskFull)
            throw;
        throw RuntimeError(error.number(), stream, error.detail());
    }
}

} // namespace tamrivel::cli
