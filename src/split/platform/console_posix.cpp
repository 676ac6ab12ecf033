#include "split/platform/console.h"
#include "split/platform/names_posix.h"

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdlib>

#include <unistd.h>

namespace tamrivel::platform {

void turnWriteSignalsIntoErrors()
{
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

namespace {
std::atomic<bool> *interruptFlag = nullptr;
extern "C" void onInterrupt(int)
{
    if (interruptFlag)
        interruptFlag->store(true);
}
} // namespace

void stopOnInterrupt(std::atomic<bool> *stop)
{
    interruptFlag = stop;
    struct sigaction action { };
    action.sa_handler = onInterrupt;
    // A second Ctrl+C ends the program the usual way, for a read that never returns.
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

QStringList commandLineArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << posix::decoded(QByteArray(argv[i]));
    return arguments;
}

QLocale messagesLocale()
{
    // Qt has set the locale from the environment by now; the C library
    // resolves the variables' precedence and refuses a locale not installed.
    const char *chosen = std::setlocale(LC_MESSAGES, nullptr);
    const QString locale = QString::fromLatin1(chosen ? chosen : "C");
    if (locale == QLatin1String("C") || locale == QLatin1String("POSIX"))
        return QLocale::c();
    const QString preferred = QString::fromLocal8Bit(qgetenv("LANGUAGE")).section(QLatin1Char(':'), 0, 0);
    return QLocale(preferred.isEmpty() ? locale : preferred);
}

bool isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

bool writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = posix::encoded(text);
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
}

} // namespace tamrivel::platform
