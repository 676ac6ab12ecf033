#include "cli_request.h"
#include "commands.h"
#include "product.h"
#include "runtime/runtime_error.h"
#include "split/process.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <cstdio>

using namespace tamrivel;
using namespace tamrivel::cli;

namespace {

std::atomic<bool> stopRequested{false};

void say(std::FILE *to, const QString &text)
{
    platform::writeText(to, text);
}

// A report that could not be written (a full disk, a closed stdout) is a
// failure, or a script would take the missing report for success.
void finishStandardOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw RuntimeError(ErrorNumber::DeviceIo, QStringLiteral("標準出力"));
}

// Bytes that do not decode to a name would be written under another name,
// perhaps over a file that really has it.
void refuseUnfaithfulArguments(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (!platform::argumentIsFaithful(argv[i]))
            throw RuntimeError(ErrorNumber::BadFileName, QFile::decodeName(argv[i]));
    }
}

int run(const CliRequest &request)
{
    switch (request.verb) {
    case CliRequest::Verb::Help: say(stdout, request.helpText); return Success;
    case CliRequest::Verb::Version:
        say(stdout, QStringLiteral("tamrivel-cli %1\n").arg(QString::fromLatin1(kProductVersion)));
        return Success;
    case CliRequest::Verb::Split: return runSplit(request, &stopRequested);
    case CliRequest::Verb::Join: return runJoin(request, &stopRequested);
    case CliRequest::Verb::Verify: return runVerify(request, &stopRequested);
    case CliRequest::Verb::Chips: return runChips();
    }
    return BadUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    platform::turnWriteSignalsIntoErrors();
    platform::stopOnInterrupt(&stopRequested);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamrivel-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProductVersion));
    try {
        refuseUnfaithfulArguments(argc, argv);
        const int status = run(parseCommandLine(QCoreApplication::arguments()));
        finishStandardOutput();
        return status;
    } catch (const UsageError &error) {
        say(stderr, QStringLiteral("tamrivel-cli: %1\nTry 'tamrivel-cli --help'.\n").arg(error.message));
        return BadUsage;
    } catch (const std::exception &raised) {
        const RuntimeError error = RuntimeError::from(raised);
        say(stderr,
            QStringLiteral("tamrivel-cli: エラー %1: ").arg(error.code()) + error.description() +
                QLatin1Char('\n'));
        return error.number() == ErrorNumber::Cancelled ? Interrupted : Failed;
    }
}
