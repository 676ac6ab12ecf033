#include "split/platform/console.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tamrivel::platform {

void turnWriteSignalsIntoErrors()
{
    // Nothing to do: Windows reports a closed pipe or a full disk to the
    // failing write itself, never by a signal.
}

namespace {

std::atomic<std::atomic<bool> *> interruptFlag{nullptr};

BOOL WINAPI onConsoleControl(DWORD event)
{
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    if (!ending && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // Only the first: a second Ctrl+C ends the program the usual way.
    std::atomic<bool> *stop = interruptFlag.exchange(nullptr);
    if (stop)
        stop->store(true);
    // A closed console window, a logoff or a shutdown ends the process as
    // soon as this returns. Held here, the run puts everything back and
    // returns from main, which ends the process and this thread with it;
    // the system's own time limit ends the wait if that takes too long.
    if (ending)
        ::Sleep(INFINITE);
    return stop ? TRUE : FALSE;
}

} // namespace

void stopOnInterrupt(std::atomic<bool> *stop)
{
    interruptFlag = stop;
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

QStringList commandLineArguments(int argc, char *argv[])
{
    // Qt takes them from the UTF-16 command line, not from these bytes in
    // the ANSI code page, so every name arrives as it was typed.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments();
}

namespace {

HANDLE handleOf(std::FILE *stream)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
}

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

// Text for a file or pipe, in the code page that the console's own tools
// write there and that the reader's console shows: its output code page. A
// process without a console (started detached, or by a service) has none to
// ask; the OEM code page is what a console would start with on this system.
QByteArray inConsoleCodePage(const QString &text)
{
    if (text.isEmpty())
        return {};
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0)
        codePage = ::GetOEMCP();
    const auto wide = reinterpret_cast<LPCWCH>(text.utf16());
    // '?' for a character the code page lacks, never a look-alike ("best
    // fit"). The code pages that hold every character (UTF-8, GB18030) and
    // the stateful ones refuse the flag or the default character, each with
    // its own error: refused, the text goes without them.
    const auto convert = [&](DWORD flags, LPCCH lacking, char *to, int room) {
        return ::WideCharToMultiByte(codePage, flags, wide, int(text.size()), to, room, lacking, nullptr);
    };
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    LPCCH lacking = "?";
    int length = convert(flags, lacking, nullptr, 0);
    if (length == 0) {
        flags = 0;
        lacking = nullptr;
        length = convert(flags, lacking, nullptr, 0);
    }
    QByteArray bytes(length, Qt::Uninitialized);
    convert(flags, lacking, bytes.data(), length);
    return bytes;
}

} // namespace

QLocale messagesLocale()
{
    // Qt reads the display language, not the regional format, for this.
    return QLocale(QLocale::system().uiLanguages().value(0, QStringLiteral("C")));
}

void useBinaryMode(std::FILE *stream)
{
    // What an output still holds in text mode goes out as text first.
    if (stream != stdin)
        std::fflush(stream);
    ::_setmode(::_fileno(stream), _O_BINARY);
}

bool isTerminal(std::FILE *stream)
{
    return isConsole(handleOf(stream));
}

bool writeText(std::FILE *stream, const QString &text)
{
    const HANDLE handle = handleOf(stream);
    if (!isConsole(handle)) {
        const QByteArray bytes = inConsoleCodePage(text);
        return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    }
    // A console shows UTF-16 as it is, whatever its code page; what the
    // stream still holds goes first.
    std::fflush(stream);
    constexpr qsizetype kChunk = 8192;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min(kChunk, text.size() - at);
        if (length > 1 && text.at(at + length - 1).isHighSurrogate())
            --length;
        DWORD wrote = 0;
        if (!::WriteConsoleW(handle, text.utf16() + at, DWORD(length), &wrote, nullptr) || wrote == 0)
            return false;
        at += qsizetype(wrote);
    }
    return true;
}

} // namespace tamrivel::platform
