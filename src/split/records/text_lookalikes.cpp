#include "split/records/text_lookalikes.h"

#include "runtime/runtime_error.h"

#include <QList>

#include <algorithm>

namespace tamrivel::records {
namespace {

constexpr char kStx = '\x02'; // ASCII-hex frames its data in STX ... ETX
constexpr char kEtx = '\x03';

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool allHex(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHexDigit);
}

int byteAt(QByteArrayView text, qsizetype at)
{
    return text.sliced(at, 2).toInt(nullptr, 16);
}

// A message ROM holds words and punctuation; these formats hold nothing but
// hex and their few marks, so printable text rarely passes for them.
bool isPrintable(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return (c >= 0x20 && c < 0x7F) || c == '\t'; });
}

QList<QByteArrayView> tokens(QByteArrayView line, QByteArrayView separators)
{
    QList<QByteArrayView> found;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= line.size(); ++at) {
        if (at == line.size() || separators.contains(line[at])) {
            if (at > start)
                found.append(line.sliced(start, at - start));
            start = at + 1;
        }
    }
    return found;
}

// $readmemh takes x, z and _ in its words besides hex digits.
bool isMemoryWord(QByteArrayView token)
{
    return (isHexDigit(token[0]) || QByteArrayView("xXzZ").contains(token[0])) &&
        std::all_of(token.begin(), token.end(),
                    [](char c) { return isHexDigit(c) || QByteArrayView("xXzZ_").contains(c); });
}

// A memory file's words may be followed by a comment.
bool allMemoryWords(QByteArrayView line)
{
    if (const qsizetype comment = line.indexOf("//"); comment >= 0)
        line.truncate(comment);
    const QList<QByteArrayView> words = tokens(line, " \t");
    return !words.isEmpty() && isPrintable(line) && std::all_of(words.begin(), words.end(), isMemoryWord);
}

bool allBytePairs(QByteArrayView line)
{
    const QList<QByteArrayView> words = tokens(line, " \t");
    return !words.isEmpty() && isPrintable(line) &&
        std::all_of(words.begin(), words.end(),
                    [](QByteArrayView word) { return word.size() == 2 && allHex(word); });
}

// Pairs separated by blanks, commas, quotes or percent signs, and "$A"
// addresses ended by a comma; between STX and ETX, which may stand on lines
// of their own. A lone pair outside the frame is as likely a two-letter
// message.
bool isAsciiHexLine(QByteArrayView line, bool framed)
{
    if (line.startsWith(kStx))
        line = line.sliced(1);
    if (line.endsWith(kEtx))
        line = line.chopped(1);
    const QList<QByteArrayView> words = tokens(line, " \t,'%");
    const auto isAddress = [](QByteArrayView word) {
        return word.size() > 2 && (word.startsWith("$A") || word.startsWith("$a")) && allHex(word.sliced(2));
    };
    return !words.isEmpty() && isPrintable(line) &&
        std::all_of(
            words.begin(), words.end(),
            [&](QByteArrayView word) { return (word.size() == 2 && allHex(word)) || isAddress(word); }) &&
        (framed || words.size() > 1 || isAddress(words[0]));
}

// "/", address (4 digits), byte count, a check of those, the data and a
// check of it; the end record has no data and no second check.
bool isTektronixRecord(QByteArrayView line)
{
    if (!line.startsWith('/') || !allHex(line.sliced(1)) || line.size() < 9)
        return false;
    const int count = byteAt(line, 5);
    return line.size() == 9 + (count > 0 ? 2 * count + 2 : 0);
}

// "%", the count of characters after it (2 digits), the type (6 data, 8 end,
// 3 symbols), a checksum, then the record's fields.
bool isExtendedTektronixRecord(QByteArrayView line)
{
    return line.size() >= 6 && line.startsWith('%') && allHex(line.sliced(1, 5)) &&
        QByteArrayView("368").contains(line[3]) && byteAt(line, 1) == line.size() - 1;
}

// "@" and a hex address, on its own line or before the data.
bool isAddressLine(QByteArrayView line)
{
    const qsizetype end =
        std::find_if(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; }) - line.begin();
    const QByteArrayView rest = line.sliced(end).trimmed();
    return line.startsWith('@') && allHex(line.sliced(1, end - 1)) &&
        (rest.isEmpty() || allMemoryWords(rest));
}

} // namespace

bool isFormatText(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == kStx || c == kEtx; });
}

bool isMosRecord(QByteArrayView line)
{
    if (!line.startsWith(';') || !allHex(line.sliced(1)) || line.size() < 11)
        return false;
    return line.size() == 11 + 2 * byteAt(line, 1);
}

QString lookalikeFormat(QByteArrayView first, QByteArrayView second)
{
    if (isMosRecord(first))
        return QStringLiteral("MOS Technology hex");
    if (isTektronixRecord(first))
        return QStringLiteral("Tektronix hex");
    if (isExtendedTektronixRecord(first))
        return QStringLiteral("extended Tektronix hex");
    // TI-TXT lists bytes after each address and ends in "q"; a Verilog
    // memory file lists words of any width.
    if (isAddressLine(first)) {
        if (second.compare("q", Qt::CaseInsensitive) == 0 || allBytePairs(second))
            return QStringLiteral("TI-TXT");
        if (allMemoryWords(second))
            return QStringLiteral("Verilog hex");
        return {};
    }
    const bool framed = first.startsWith(kStx);
    const QByteArrayView data = first == QByteArrayView(&kStx, 1) ? second : first;
    if (isAsciiHexLine(data, framed)) {
        if (framed || !allBytePairs(data))
            return QStringLiteral("ASCII-hex");
        return RuntimeError::tr("ASCII-hex or Verilog hex");
    }
    // A file of one word, such as a year, is more likely a message.
    if (allMemoryWords(first) && allMemoryWords(second))
        return QStringLiteral("Verilog hex");
    return {};
}

} // namespace tamrivel::records
