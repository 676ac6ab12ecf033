#include "option_values.h"

#include "cli/cli_request.h"
#include "cli/size_argument.h"
#include "cli/words.h"

namespace tamrivel::cli {

int numberValue(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok)
        throw UsageError{UsageError::tr("--%1 takes a whole number, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return value;
}

qint64 sizeValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const std::optional<qint64> size = parseSize(parser.value(option));
    if (!size || *size <= 0)
        throw UsageError{UsageError::tr("--%1 takes a size such as 32768, 0x8000, 32K or 1M, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return *size;
}

uchar byteValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const std::optional<uchar> byte = parseByte(parser.value(option));
    if (!byte)
        throw UsageError{UsageError::tr("--%1 takes a byte, 0 to 255 or 0x00 to 0xff, not '%2'")
                             .arg(option.names().constFirst(), parser.value(option))};
    return *byte;
}

QString sizeAndByteSyntax()
{
    return Words::tr("SIZE: 32768, 0x8000, 32K (or 32KiB), 1M (or 1MiB).\nBYTE: 0 to 255, or 0x00 to 0xff.");
}

} // namespace tamrivel::cli
