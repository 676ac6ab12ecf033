#include "cli_request.h"

#include "size_argument.h"
#include "split/chip_table.h"

#include <QCommandLineParser>

namespace tamrivel::cli {
namespace {

int numberOption(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("--%1 takes a whole number, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return value;
}

qint64 sizeValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const std::optional<qint64> size = parseSize(parser.value(option));
    if (!size || *size <= 0)
        throw UsageError{QStringLiteral("--%1 takes a size such as 32768, 0x8000, 32K or 1M, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return *size;
}

qint64 chipBytes(const QString &name)
{
    if (const std::optional<Chip> chip = findChip(name))
        return chip->bytes;
    throw UsageError{QStringLiteral("unknown chip '%1'; closest: %2 (see 'tamrivel-cli chips')")
                         .arg(name, closestChipNames(name).join(QStringLiteral(", ")))};
}

RecordFormat recordFormat(const QString &name)
{
    if (name == QLatin1String("bin"))
        return RecordFormat::Binary;
    if (name == QLatin1String("ihex"))
        return RecordFormat::IntelHex;
    if (name == QLatin1String("srec"))
        return RecordFormat::SRecord;
    throw UsageError{QStringLiteral("--format is bin, ihex or srec, not '%1'").arg(name)};
}

// --ways may be left out when the files named already say how many; with
// banks they cannot, as each way has several files.
int settleWays(const QCommandLineParser &parser, const QCommandLineOption &option, qsizetype named,
               bool banks)
{
    const int fallback = named > 0 && !banks ? int(named) : 2;
    const int ways = numberOption(parser, option, fallback);
    if (named > 0 && !banks && ways != named)
        throw UsageError{QStringLiteral("--ways %1 does not match the %2 parts named").arg(ways).arg(named)};
    return ways;
}

} // namespace

CliRequest parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Splits a ROM image into the images of its chips by dealing bytes round-robin, "
        "joins chip images back into one, and checks chips read back against the image.\n\n"
        "  split SOURCE [OUTPUT...]   even bytes to the first output, odd to the second;\n"
        "                             with no outputs named: SOURCE less its last four\n"
        "                             characters, then _g.bin and _k.bin (_0.bin, _1.bin, ...\n"
        "                             for more than two ways; _g_0.bin ... with --banks)\n"
        "  join PART... OUTPUT        the exact inverse of split; each PART may be raw,\n"
        "                             Intel HEX or S-records, told from its content\n"
        "  verify SOURCE PART...      are the PARTs what the same split would write?\n"
        "                             exit 0 if so, 1 with the differences if not\n"
        "  chips                      the chips --chip knows, with their sizes\n\n"
        "SIZE: 32768, 0x8000, 32K (or 32KiB), 1M (or 1MiB). BYTE: 0 to 255, or 0x00 to 0xff."));
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("split, join, verify or chips"));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("the files, as above"),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption waysOption(
        QStringLiteral("ways"), QStringLiteral("Deal to N parts, 2 to 16 (default 2)."), QStringLiteral("N"));
    const QCommandLineOption widthOption(QStringLiteral("width"),
                                         QStringLiteral("Bytes a turn: 1, 2, 4 or 8 (default 1)."),
                                         QStringLiteral("W"));
    const QCommandLineOption swapOption(QStringLiteral("swap"),
                                        QStringLiteral("Reverse the byte order inside each W-byte unit."));
    const QCommandLineOption chipOption(
        QStringLiteral("chip"), QStringLiteral("Pad each output to the size of this chip (see chips)."),
        QStringLiteral("NAME"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("Pad each output to SIZE bytes."), QStringLiteral("SIZE"));
    const QCommandLineOption fillOption(
        QStringLiteral("fill"), QStringLiteral("The padding and gap byte (default 0xFF, an erased EPROM)."),
        QStringLiteral("BYTE"));
    const QCommandLineOption banksOption(QStringLiteral("banks"),
                                         QStringLiteral("Cut each way over as many chips as it needs."));
    const QCommandLineOption formatOption(
        QStringLiteral("format"), QStringLiteral("Write bin (default), ihex or srec."), QStringLiteral("F"));
    const QCommandLineOption lengthOption(
        QStringLiteral("length"), QStringLiteral("Join: cut the output to SIZE bytes (drops padding)."),
        QStringLiteral("SIZE"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
                                         QStringLiteral("Print nothing on success."));
    parser.addOptions({waysOption, widthOption, swapOption, chipOption, sizeOption, fillOption, banksOption,
                       formatOption, lengthOption, quietOption});
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments))
        throw UsageError{parser.errorText()};

    CliRequest request;
    request.helpText = parser.helpText();
    if (parser.isSet(helpOption))
        return request;
    if (parser.isSet(versionOption)) {
        request.verb = CliRequest::Verb::Version;
        return request;
    }

    QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        throw UsageError{QStringLiteral("say split, join, verify or chips")};
    const QString verb = files.takeFirst();
    request.quiet = parser.isSet(quietOption);
    request.shape.width = numberOption(parser, widthOption, 1);
    request.shape.swap = parser.isSet(swapOption);

    auto refuse = [&](std::initializer_list<const QCommandLineOption *> options) {
        for (const QCommandLineOption *option : options) {
            if (parser.isSet(*option))
                throw UsageError{
                    QStringLiteral("%1 does not take --%2").arg(verb, option->names().constFirst())};
        }
    };
    if (parser.isSet(chipOption) && parser.isSet(sizeOption))
        throw UsageError{QStringLiteral("give --chip or --size, not both")};
    if (parser.isSet(chipOption))
        request.fit.chipSize = chipBytes(parser.value(chipOption));
    if (parser.isSet(sizeOption))
        request.fit.chipSize = sizeValue(parser, sizeOption);
    request.fit.banks = parser.isSet(banksOption);
    if (request.fit.banks && request.fit.chipSize == 0)
        throw UsageError{QStringLiteral("--banks needs --chip or --size")};
    if (parser.isSet(fillOption)) {
        const std::optional<uchar> fill = parseByte(parser.value(fillOption));
        if (!fill)
            throw UsageError{QStringLiteral("--fill takes a byte, 0 to 255 or 0x00 to 0xff, not '%1'")
                                 .arg(parser.value(fillOption))};
        request.fit.fill = *fill;
    }
    if (parser.isSet(formatOption))
        request.fit.format = recordFormat(parser.value(formatOption));

    if (verb == QLatin1String("split") || verb == QLatin1String("verify")) {
        const bool splitting = verb == QLatin1String("split");
        refuse({&lengthOption});
        if (files.isEmpty() || (!splitting && files.size() < 2))
            throw UsageError{splitting ? QStringLiteral("split needs a SOURCE")
                                       : QStringLiteral("verify needs a SOURCE and its PARTs")};
        request.verb = splitting ? CliRequest::Verb::Split : CliRequest::Verb::Verify;
        request.inputs = {files.takeFirst()};
        request.shape.ways = settleWays(parser, waysOption, files.size(), request.fit.banks);
        request.outputs = files;
    } else if (verb == QLatin1String("join")) {
        refuse({&chipOption, &sizeOption, &banksOption, &formatOption});
        if (files.size() < 3)
            throw UsageError{QStringLiteral("join needs at least two PARTs and an OUTPUT")};
        request.verb = CliRequest::Verb::Join;
        request.outputs = {files.takeLast()};
        request.inputs = files;
        request.shape.ways = settleWays(parser, waysOption, files.size(), false);
        if (parser.isSet(lengthOption))
            request.length = sizeValue(parser, lengthOption);
    } else if (verb == QLatin1String("chips")) {
        if (!files.isEmpty())
            throw UsageError{QStringLiteral("chips takes no files")};
        request.verb = CliRequest::Verb::Chips;
        return request;
    } else {
        throw UsageError{QStringLiteral("unknown command '%1': say split, join, verify or chips").arg(verb)};
    }
    if (const QString problem = request.shape.problem(); !problem.isEmpty())
        throw UsageError{problem};
    return request;
}

} // namespace tamrivel::cli
