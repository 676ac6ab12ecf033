#include "cli/words.h"
#include "cli_request.h"
#include "command_line.h"
#include "console_text.h"
#include "exit_status.h"
#include "message_catalogue.h"
#include "runtime/runtime_error.h"
#include "split/platform/console.h"

#include <QCoreApplication>

#include <atomic>
#include <cstdio>

using namespace tamrivel;
using namespace tamrivel::cli;

namespace {

std::atomic<bool> stopRequested{false};

} // namespace

int main(int argc, char *argv[])
{
    platform::turnWriteSignalsIntoErrors();
    platform::stopOnInterrupt(&stopRequested);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamrivel-cli"));
    useMessageCatalogues(app);
    try {
        const int status = runCommandLine(platform::commandLineArguments(argc, argv), &stopRequested);
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
