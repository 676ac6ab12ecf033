#include "chips_verb.h"

#include "cli/cli_request.h"
#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/options/verb_parser.h"
#include "cli/words.h"
#include "split/chip_table.h"

namespace tamrivel::cli {
namespace {

int runChips()
{
    say(QStringLiteral("%1  %2  %3\n")
            .arg(Words::tr("name"), -8)
            .arg(Words::tr("bytes"), 8)
            .arg(Words::tr("data bus")));
    for (const Chip &chip : chipTable()) {
        say(Words::tr("%1  %2  %3-bit\n")
                .arg(QString::fromLatin1(chip.name), -8)
                .arg(chip.bytes, 8)
                .arg(QString::fromLatin1(chip.dataBus)));
    }
    return Success;
}

int chips(const QStringList &arguments, const std::atomic<bool> *)
{
    VerbParser parser(chipsVerb(),
                      Words::tr("Lists the chips --chip knows: name, size in bytes and data bus width. In "
                                "a name, case and the C of a CMOS part do not matter (27c256, 27256)."));
    if (!parser.parse(arguments))
        return Success;
    if (!parser.files().isEmpty())
        throw UsageError{UsageError::tr("chips takes no files")};
    return runChips();
}

} // namespace

Verb chipsVerb()
{
    return {QStringLiteral("chips"), QString(), Words::tr("list the chips --chip knows, with their sizes"),
            &chips};
}

} // namespace tamrivel::cli
