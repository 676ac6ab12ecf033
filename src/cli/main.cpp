#include "cli_request.h"
#include "commands.h"
#include "product.h"
#include "runtime/runtime_error.h"

#include <QCoreApplication>

#include <cstdio>

using namespace tamrivel;
using namespace tamrivel::cli;

namespace {

void say(std::FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
}

int run(const CliRequest &request)
{
    switch (request.verb) {
    case CliRequest::Verb::Help: say(stdout, request.helpText); return Success;
    case CliRequest::Verb::Version:
        say(stdout, QStringLiteral("tamrivel-cli %1\n").arg(QString::fromLatin1(kProductVersion)));
        return Success;
    case CliRequest::Verb::Split: return runSplit(request);
    case CliRequest::Verb::Join: return runJoin(request);
    case CliRequest::Verb::Verify: return runVerify(request);
    case CliRequest::Verb::Chips: return runChips();
    }
    return BadUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamrivel-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProductVersion));
    try {
        return run(parseCommandLine(QCoreApplication::arguments()));
    } catch (const UsageError &error) {
        say(stderr, QStringLiteral("tamrivel-cli: %1\nTry 'tamrivel-cli --help'.\n").arg(error.message));
        return BadUsage;
    } catch (const RuntimeError &error) {
        say(stderr,
            QStringLiteral("tamrivel-cli: エラー %1: %2\n").arg(error.code()).arg(error.description()));
        return Failed;
    }
}
