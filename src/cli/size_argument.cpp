#include "size_argument.h"

#include <limits>

namespace tamrivel::cli {
namespace {

std::optional<qint64> parseNumber(QStringView text)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const QStringView digits = hex ? text.sliced(2) : text;
    // toLongLong would also take signs and spaces, which a size never has.
    for (QChar c : digits) {
        if (!(hex ? isxdigit(c.toLatin1()) : c.isDigit()) || c.unicode() > 0x7F)
            return std::nullopt;
    }
    const qint64 value = digits.toLongLong(&ok, hex ? 16 : 10);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

std::optional<qint64> parseSize(const QString &text)
{
    static const std::pair<const char *, qint64> kSuffixes[] = {
        {"KiB", qint64(1) << 10}, {"MiB", qint64(1) << 20}, {"K", qint64(1) << 10}, {"M", qint64(1) << 20}};
    QStringView number = text;
    qint64 unit = 1;
    if (!text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        for (const auto &[suffix, factor] : kSuffixes) {
            if (text.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
                number.chop(qsizetype(qstrlen(suffix)));
                unit = factor;
                break;
            }
        }
    }
    const std::optional<qint64> value = parseNumber(number);
    if (!value || *value > std::numeric_limits<qint64>::max() / unit)
        return std::nullopt;
    return *value * unit;
}

std::optional<uchar> parseByte(const QString &text)
{
    const std::optional<qint64> value = parseNumber(text);
    if (!value || *value > 255)
        return std::nullopt;
    return uchar(*value);
}

} // namespace tamrivel::cli
