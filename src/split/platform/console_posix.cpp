#include "split/platform/console.h"
#include "split/platform/names_posix.h"

#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
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

void useBinaryMode(std::FILE *stream)
{
    // Every stream carries bytes as they are.
    Q_UNUSED(stream);
}

bool isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

namespace {

// The character set the environment's locale gives the terminal. Asked of
// the environment, not of the program: Qt switches the program's own
// LC_CTYPE to UTF-8, whatever the user reads.
const QByteArray &readersCodeset()
{
    static const QByteArray codeset = [] {
        locale_t chosen = ::newlocale(LC_CTYPE_MASK, "", locale_t(0));
        // A locale that is not installed leaves a C program in the C locale.
        if (!chosen)
            chosen = ::newlocale(LC_CTYPE_MASK, "C", locale_t(0));
        const QByteArray name(::nl_langinfo_l(CODESET, chosen));
        ::freelocale(chosen);
        return name;
    }();
    return codeset;
}

// The characters in the converter's character set, each that it lacks as
// one '?' rather than the end of the line.
QByteArray converted(iconv_t converter, QStringView characters)
{
    QByteArray in = characters.toUtf8();
    char *from = in.data();
    size_t left = size_t(in.size());
    QByteArray out;
    char buffer[1024];
    for (;;) {
        char *to = buffer;
        size_t room = sizeof buffer;
        // With nothing left, ends any shift state of a stateful set.
        const bool ending = left == 0;
        const size_t result = ending ? ::iconv(converter, nullptr, nullptr, &to, &room)
                                     : ::iconv(converter, &from, &left, &to, &room);
        const bool full = result == size_t(-1) && errno == E2BIG;
        out.append(buffer, to - buffer);
        if (ending && !full)
            return out;
        if (!ending && result == size_t(-1) && !full) {
            out += '?';
            do {
                ++from;
                --left;
            } while (left > 0 && (uchar(*from) & 0xC0) == 0x80);
        }
    }
}

QByteArray inReadersCodeset(const QString &text)
{
    const QByteArray &codeset = readersCodeset();
    iconv_t converter = codeset == "UTF-8" ? iconv_t(-1) : ::iconv_open(codeset.constData(), "UTF-8");
    // Where the C library cannot convert to the set, UTF-8 is the best guess.
    if (converter == iconv_t(-1))
        return posix::encoded(text);
    const QByteArray bytes = posix::withKeptBytes(
        text, [converter](QStringView characters) { return converted(converter, characters); });
    ::iconv_close(converter);
    return bytes;
}

} // namespace

bool writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = inReadersCodeset(text);
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
}

} // namespace tamrivel::platform
