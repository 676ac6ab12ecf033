#include "split/platform/names_posix.h"

namespace tamrivel::platform::posix {
namespace {

constexpr char16_t kFirstKept = 0xDC80;
constexpr char16_t kLastKept = 0xDCFF;

} // namespace

QString decoded(const QByteArray &name)
{
    if (name.isValidUtf8())
        return QString::fromUtf8(name);
    QString text;
    text.reserve(name.size());
    for (const char byte : name) {
        const auto value = uchar(byte);
        text += value < 0x80 ? QChar(value) : QChar(char16_t(0xDC00 + value));
    }
    return text;
}

QByteArray withKeptBytes(QStringView text, const std::function<QByteArray(QStringView)> &convert)
{
    QByteArray bytes;
    qsizetype stretch = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        // The low half of a real pair is a character, not a kept byte.
        if (QChar::isHighSurrogate(unit) && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            ++at;
            continue;
        }
        if (unit < kFirstKept || unit > kLastKept)
            continue;
        bytes += convert(text.sliced(stretch, at - stretch));
        bytes += char(unit - 0xDC00);
        stretch = at + 1;
    }
    return bytes + convert(text.sliced(stretch));
}

QByteArray encoded(const QString &path)
{
    return withKeptBytes(path, [](QStringView characters) { return characters.toUtf8(); });
}

} // namespace tamrivel::platform::posix
