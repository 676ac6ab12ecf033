#include "cli/words.h"
#include "cli_request.h"
#include "command_line.h"
#include "console_text.h"
#include "exit_status.h"
#include "message_catalogue.h"
#include "runtime/runtime_error.h"
#include "split/platform/console.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <cstdio>

using namespace tamrivel;
using namespace tamrivel::cli;

namespace {

std::atomic<bool> stopRequested{false};

// Bytes that do not decode to a name would be written under another name,
// perhaps over a file that really has it.
void refuseUnfaithfulArguments(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (!platform::argumentIsFaithful(argv[i]))
            throw RuntimeError(ErrorNumber::BadFileName, QFile::decodeName(argv[i]));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    platform::turnWriteSignalsIntoErrors();
    platform::stopOnInterrupt(&stopRequested);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamrivel-cli"));
    useMessageCatalogues(app);
    try {
        refuseUnfaithfulArguments(argc, argv);
        const int status = runCommandLine(QCoreApplication::arguments(), &stopRequested);
        flushStandardOutput();
        return status;
    } catch (const UsageError &error) {
        const QString help =
            error.verb.isEmpty() ? QStringLiteral("--help") : error.verb + QStringLiteral(" --help");
        say(Words::tr("tamrivel-cli: %1\nTry 'tamrivel-cli %2'.\n").arg(error.message, help), stderr);
        return BadUsage;
    } catch (const std::exception &raised) {
        return reportFailure(raised, Failed);
    }
}
