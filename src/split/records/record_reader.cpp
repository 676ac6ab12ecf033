#include "split/records/record_reader.h"

#include "runtime/runtime_error.h"
#include "split/records/record_types.h"

#include <cstring>

namespace tamrivel {
namespace {

// The longest well-formed line of either format, with room to spare.
constexpr qsizetype kMaxLine = 1024;
constexpr qsizetype kReadBlock = 64 * 1024;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Checks one line's hex digits, length and checksum, and decodes the bytes
// after its mark (":" or "S" and the type). Returns what is wrong, if anything.
QString decodeLine(QByteArrayView line, RecordFormat format, uchar *bytes, int &count)
{
    const bool hex = format == RecordFormat::IntelHex;
    const qsizetype mark = hex ? 1 : 2;
    if (hex ? !line.startsWith(':')
            : (line.size() < 2 || line[0] != 'S' || hexValue(line[1]) < 0 || line[1] > '9'))
        return QStringLiteral("レコードの始まりが正しくありません");
    const QByteArrayView digits = line.sliced(mark);
    if (digits.size() % 2 != 0 || digits.size() < (hex ? 10 : 8) || digits.size() > 2 * 260)
        return QStringLiteral("長さが正しくありません");
    count = int(digits.size() / 2);
    uint sum = 0;
    for (int i = 0; i < count; ++i) {
        const int high = hexValue(digits[2 * i]);
        const int low = hexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return QStringLiteral("16 進数でない文字があります");
        bytes[i] = uchar(high * 16 + low);
        sum += bytes[i];
    }
    if (bytes[0] + (hex ? 5 : 1) != count)
        return QStringLiteral("長さが正しくありません");
    if (!records::checksumHolds(format, sum))
        return QStringLiteral("チェックサムが合いません");
    return QString();
}

} // namespace

RecordFormat detectRecordFormat(LineReader &lines)
{
    QByteArrayView line;
    const bool any = lines.next(line);
    lines.again();
    if (!any || lines.tooLong())
        return RecordFormat::Binary;
    uchar bytes[kMaxLine];
    int count = 0;
    for (RecordFormat format : {RecordFormat::IntelHex, RecordFormat::SRecord}) {
        if (decodeLine(line, format, bytes, count).isEmpty())
            return format;
    }
    return RecordFormat::Binary;
}

qint64 recordImageSize(LineReader lines, RecordFormat format, uchar fill)
{
    RecordDevice scan(std::move(lines), format, fill);
    char sink[kReadBlock];
    qint64 size = 0;
    for (qint64 got; (got = scan.read(sink, kReadBlock)) > 0;)
        size += got;
    return size;
}

LineReader::LineReader(const platform::File &file, const QString &path)
    : m_file(&file), m_path(path), m_buffer(size_t(kReadBlock))
{
}

bool LineReader::next(QByteArrayView &line)
{
    if (m_again) {
        m_again = false;
        line = m_line;
        return m_hadLine;
    }
    for (;;) {
        const char *start = m_buffer.data() + m_begin;
        const qsizetype waiting = m_end - m_begin;
        const auto *newline = static_cast<const char *>(std::memchr(start, '\n', size_t(waiting)));
        m_tooLong = !newline && waiting > kMaxLine;
        if (newline || m_atEnd || m_tooLong) {
            if (!newline && waiting == 0) {
                ++m_number; // where the missing line would be
                return m_hadLine = false;
            }
            const qsizetype length = newline ? newline - start : std::min(waiting, kMaxLine);
            m_begin += newline ? length + 1 : length;
            ++m_number;
            line = m_line = QByteArrayView(start, length).trimmed();
            return m_hadLine = true;
        }
        std::memmove(m_buffer.data(), start, size_t(waiting));
        m_begin = 0;
        m_end = waiting;
        const qsizetype got =
            platform::readSome(*m_file, m_buffer.data() + m_end, qsizetype(m_buffer.size()) - m_end, m_path);
        m_end += got;
        m_atEnd = got == 0;
    }
}

RecordDevice::RecordDevice(LineReader lines, RecordFormat format, uchar fill)
    : m_lines(std::move(lines)), m_format(format), m_fill(fill)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 RecordDevice::readData(char *data, qint64 maxSize)
{
    qint64 produced = 0;
    while (produced < maxSize) {
        const qint64 room = maxSize - produced;
        if (m_record.used < m_record.length) {
            const qint64 gap = qint64(m_record.address) - m_position;
            const qint64 take =
                gap > 0 ? std::min(room, gap) : std::min<qint64>(room, m_record.length - m_record.used);
            if (gap > 0) {
                std::memset(data + produced, m_fill, size_t(take));
            } else {
                std::memcpy(data + produced, m_record.bytes + m_record.used, size_t(take));
                m_record.used += int(take);
            }
            produced += take;
            m_position += take;
        } else if (!m_ended) {
            fetchRecord();
        } else if (m_position < m_size) {
            const qint64 take = std::min(room, m_size - m_position);
            std::memset(data + produced, m_fill, size_t(take));
            produced += take;
            m_position += take;
        } else {
            break;
        }
    }
    return produced;
}

// Reads lines until a data record (left in m_record) or the end record.
void RecordDevice::fetchRecord()
{
    QByteArrayView line;
    for (;;) {
        if (!m_lines.next(line)) {
            fail(QStringLiteral("終了レコードがありません"));
        }
        if (m_lines.tooLong())
            fail(QStringLiteral("行が長すぎます"));
        if (line.isEmpty())
            continue;
        if (parseLine(line))
            return;
        if (m_ended) {
            checkTail();
            return;
        }
    }
}

// True for a data record with bytes; sets m_ended at the end record.
bool RecordDevice::parseLine(QByteArrayView line)
{
    uchar bytes[kMaxLine];
    int count = 0;
    if (const QString problem = decodeLine(line, m_format, bytes, count); !problem.isEmpty())
        fail(problem);
    quint64 address = 0;
    const uchar *data = nullptr;
    int length = 0;
    if (m_format == RecordFormat::IntelHex) {
        length = bytes[0];
        const uint value = length == 2 ? uint(bytes[4]) << 8 | bytes[5] : 0;
        switch (bytes[3]) {
        case records::kHexData:
            address = m_base + (uint(bytes[1]) << 8 | bytes[2]);
            data = bytes + 4;
            break;
        case records::kHexEnd: m_ended = true; return false;
        case records::kHexSegmentBase: m_base = quint64(value) << 4; return false;
        case records::kHexLinearBase: m_base = quint64(value) << 16; return false;
        case records::kHexSegmentStart:
        case records::kHexLinearStart: return false;
        default: fail(QStringLiteral("知らないレコード型です"));
        }
    } else {
        const int type = line[1] - '0';
        const int addressBytes = records::kSRecordAddressBytes[type];
        if (type == 4 || bytes[0] < addressBytes + 1)
            fail(type == 4 ? QStringLiteral("知らないレコード型です")
                           : QStringLiteral("長さが正しくありません"));
        for (int i = 1; i <= addressBytes; ++i)
            address = address << 8 | bytes[i];
        if (type == 0)
            return false;
        if (type >= 7) {
            m_ended = true;
            return false;
        }
        if (type == 5 || type == 6) {
            if (qint64(address) != m_dataRecords)
                fail(QStringLiteral("データレコードの数 %1 が件数レコードの %2 と合いません")
                         .arg(m_dataRecords)
                         .arg(address));
            return false;
        }
        ++m_dataRecords;
        length = bytes[0] - addressBytes - 1;
        data = bytes + 1 + addressBytes;
    }
    if (length == 0)
        return false;
    // Bytes before the stream's position have already gone out.
    if (address < quint64(m_position))
        fail(QStringLiteral("アドレス 0x%1 が前のレコードより前です").arg(address, 0, 16));
    m_record.address = address;
    m_record.length = length;
    m_record.used = 0;
    std::memcpy(m_record.bytes, data, size_t(length));
    return true;
}

// After the end record only blank lines and end-of-file marks may follow. A
// line too long for a record comes in pieces, each counted as a line: it is
// refused at its first, where its number is still right.
void RecordDevice::checkTail()
{
    QByteArrayView line;
    while (m_lines.next(line)) {
        if (m_lines.tooLong())
            fail(QStringLiteral("行が長すぎます"));
        for (char c : line) {
            if (c != '\x1A')
                fail(QStringLiteral("終了レコードの後にも行があります"));
        }
    }
}

void RecordDevice::fail(const QString &reason) const
{
    throw RuntimeError(ErrorNumber::BadRecord, m_lines.path(),
                       QStringLiteral("(%1 行目: %2)").arg(m_lines.number()).arg(reason));
}

} // namespace tamrivel
