#include "split/records/record_reader.h"

#include "runtime/runtime_error.h"
#include "split/records/record_types.h"
#include "split/records/text_lookalikes.h"

#include <algorithm>
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

// Editors that change a file's case change the mark with the digits.
bool isSMark(char c)
{
    return c == 'S' || c == 's';
}

// Checks one line's hex digits, length and checksum, and decodes the bytes
// after its mark (":" or "S" and the type). Returns what is wrong, if anything.
QString decodeLine(QByteArrayView line, RecordFormat format, uchar *bytes, int &count)
{
    const bool hex = format == RecordFormat::IntelHex;
    const qsizetype mark = hex ? 1 : 2;
    if (hex ? !line.startsWith(':')
            : (line.size() < 2 || !isSMark(line[0]) || hexValue(line[1]) < 0 || line[1] > '9'))
        return RuntimeError::tr("the start of the record is not valid");
    const QByteArrayView digits = line.sliced(mark);
    if (digits.size() % 2 != 0 || digits.size() < (hex ? 10 : 8) || digits.size() > 2 * 260)
        return RuntimeError::tr("the length is not valid");
    count = int(digits.size() / 2);
    uint sum = 0;
    for (int i = 0; i < count; ++i) {
        const int high = hexValue(digits[2 * i]);
        const int low = hexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0)
            return RuntimeError::tr("a character is not a hex digit");
        bytes[i] = uchar(high * 16 + low);
        sum += bytes[i];
    }
    if (bytes[0] + (hex ? 5 : 1) != count)
        return RuntimeError::tr("the length is not valid");
    if (!records::checksumHolds(format, sum))
        return RuntimeError::tr("the checksum does not match");
    return QString();
}

// A record file is text whose first line starts with a record's mark and a
// hex digit. An image whose first bytes look alike almost always has a
// control or 8-bit byte before its first line end, and stays raw.
RecordFormat recordLike(QByteArrayView line)
{
    for (char c : line) {
        if ((c < 0x20 || c > 0x7E) && c != '\t')
            return RecordFormat::Binary;
    }
    if (line.size() >= 2 && line[0] == ':' && hexValue(line[1]) >= 0)
        return RecordFormat::IntelHex;
    if (line.size() >= 3 && isSMark(line[0]) && line[1] >= '0' && line[1] <= '9' && hexValue(line[2]) >= 0)
        return RecordFormat::SRecord;
    return RecordFormat::Binary;
}

RuntimeError badRecord(const QString &path, qint64 line, const QString &reason)
{
    return RuntimeError(ErrorNumber::BadRecord, path,
                        RuntimeError::tr("(line %1: %2)").arg(QString::number(line), reason));
}

// What tools pad a file with after its records: end-of-file marks, NUL and
// 0xFF bytes.
bool isPadding(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == '\x1A' || c == '\0' || c == '\xFF'; });
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Text a converter or an editor puts before the records: comments ("#",
// "//", or ";" where the line is no MOS Technology record) and the symbol
// blocks some S-record writers open with "$$" lines, whose symbols are
// written "NAME $ADDRESS". Only printable text (UTF-8 in comments) is
// skipped, so a binary image ends the search at its first line end.
bool hasNoControlByte(QByteArrayView line)
{
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return (c >= 0 && c < 0x20 && c != '\t') || c == 0x7F; });
}

bool isLeadingText(QByteArrayView line, bool &inSymbols)
{
    if (!hasNoControlByte(line) || !line.isValidUtf8())
        return false;
    if (line.startsWith("$$"))
        inSymbols = true;
    if (inSymbols && line.contains('$'))
        return true;
    return line.startsWith('#') || line.startsWith("//") ||
        (line.startsWith(';') && !records::isMosRecord(line));
}

// Reads up to the first line of substance, left to be read again; false when
// there is none.
bool skipLeadingText(LineReader &lines, QByteArrayView &line)
{
    bool inSymbols = false;
    qint64 skipped = 0;
    while (lines.next(line)) {
        // A comment too long for one piece goes on in pieces of its number,
        // which may cut a UTF-8 character in two.
        const bool restOfComment = lines.number() == skipped && hasNoControlByte(line);
        if (line.isEmpty() || restOfComment || isLeadingText(line, inSymbols)) {
            skipped = lines.number();
            continue;
        }
        lines.again();
        return true;
    }
    return false;
}

} // namespace

RecordFormat detectRecordFormat(LineReader &lines)
{
    QByteArrayView line;
    if (!skipLeadingText(lines, line))
        return RecordFormat::Binary;
    // Notepad's "Unicode": records, but not in a form any programmer reads.
    const bool littleEndian = line.startsWith("\xFF\xFE");
    if (littleEndian || line.startsWith("\xFE\xFF")) {
        QByteArray narrow;
        for (qsizetype at = littleEndian ? 2 : 3; at < line.size(); at += 2) {
            const qsizetype high = littleEndian ? at + 1 : at - 1;
            if (high < line.size() && line[high] != '\0')
                return RecordFormat::Binary;
            narrow += line[at];
        }
        if (recordLike(narrow) != RecordFormat::Binary)
            throw badRecord(lines.path(), lines.number(),
                            RuntimeError::tr("it is UTF-16; save it as ASCII or UTF-8"));
        return RecordFormat::Binary;
    }
    if (const RecordFormat format = recordLike(line);
        format != RecordFormat::Binary || !records::isFormatText(line))
        return format;
    // No converter writes lines this long: it is text, a message ROM say.
    if (lines.tooLong())
        return RecordFormat::Binary;
    // The line is overwritten by the next one read.
    const QByteArray first = line.toByteArray();
    const qint64 number = lines.number();
    lines.next(line); // the first, left to be read again
    // Memory files for simulators put comments anywhere.
    QByteArrayView second;
    while (second.isEmpty() && lines.next(line))
        second = line.startsWith("//") ? QByteArrayView() : line;
    if (const QString format = records::lookalikeFormat(first, second); !format.isEmpty())
        throw badRecord(lines.path(), number,
                        RuntimeError::tr("it looks like %1; Intel HEX and S-records are read. "
                                         "Add --raw to take its bytes as they are")
                            .arg(format));
    return RecordFormat::Binary;
}

RecordExtent recordExtent(LineReader lines, RecordFormat format, uchar fill, quint64 base)
{
    return RecordDevice(std::move(lines), format, fill, base).measure();
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
        const qsizetype scanned = std::min(waiting, kMaxLine + 1);
        const qsizetype length = std::find_if(start, start + scanned, isLineEnd) - start;
        const bool ended = length < scanned;
        // A CR last in the block may be the first half of a CR LF.
        const bool crLast = ended && start[length] == '\r' && length + 1 == waiting && !m_atEnd;
        m_tooLong = length > kMaxLine;
        if ((ended && !crLast) || m_tooLong || (m_atEnd && waiting > 0)) {
            const qsizetype cut = m_tooLong ? kMaxLine : length;
            qsizetype used = cut;
            if (ended && !m_tooLong)
                used += start[length] == '\r' && length + 1 < waiting && start[length + 1] == '\n' ? 2 : 1;
            m_begin += used;
            // The pieces of a line too long to hold keep its number.
            if (!m_continuing)
                ++m_number;
            m_continuing = m_tooLong;
            line = m_line = QByteArrayView(start, cut).trimmed();
            return m_hadLine = true;
        }
        if (m_atEnd) {
            ++m_number; // where the missing line would be
            return m_hadLine = false;
        }
        std::memmove(m_buffer.data(), start, size_t(waiting));
        m_begin = 0;
        m_end = waiting;
        const qsizetype got =
            platform::readSome(*m_file, m_buffer.data() + m_end, qsizetype(m_buffer.size()) - m_end, m_path);
        m_end += got;
        m_atEnd = got == 0;
        // Editors on Windows open UTF-8 text with a byte-order mark.
        if (!m_pastMark && (m_end >= 3 || m_atEnd)) {
            m_pastMark = true;
            if (QByteArrayView(m_buffer.data(), m_end).startsWith("\xEF\xBB\xBF"))
                m_begin = 3;
        }
    }
}

RecordDevice::RecordDevice(LineReader lines, RecordFormat format, uchar fill, quint64 base, qint64 firstLine)
    : m_lines(std::move(lines)), m_format(format), m_fill(fill), m_firstLine(firstLine), m_imageBase(base)
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

RecordExtent RecordDevice::measure()
{
    RecordExtent extent;
    for (;;) {
        if (m_record.used < m_record.length) {
            extent.held += m_record.length - m_record.used;
            m_position = qint64(m_record.address) + m_record.length;
            extent.end = m_position;
            m_record.used = m_record.length;
        } else if (m_ended) {
            return extent;
        } else {
            fetchRecord();
        }
    }
}

// Reads lines until a data record (left in m_record) or the end record. An
// S-record file may stop after its count record, as converters write it when
// no start address is given: the count proves that nothing is missing.
void RecordDevice::fetchRecord()
{
    QByteArrayView line;
    for (;;) {
        if (!m_lines.next(line)) {
            if (!m_counted)
                fail(RuntimeError::tr("no end-of-file record"));
            m_ended = true;
            return;
        }
        if (m_lines.number() < m_firstLine)
            continue;
        if (m_counted && !line.isEmpty() && isPadding(line)) {
            m_ended = true;
            checkTail();
            return;
        }
        if (m_lines.tooLong())
            fail(RuntimeError::tr("the line is too long"));
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

// A record's fields, its data still in the line's decoded bytes.
struct RecordDevice::Fields {
    int type = 0;
    quint64 address = 0;
    const uchar *data = nullptr;
    int length = 0;
};

// True for a data record with bytes; sets m_ended at the end record.
bool RecordDevice::parseLine(QByteArrayView line)
{
    uchar bytes[kMaxLine];
    Fields record = decodeFields(line, bytes);
    const bool data = m_format == RecordFormat::IntelHex ? takeHexRecord(record) : takeSRecord(record);
    return data && takeData(record);
}

// The fields of the line's record, decoded into `bytes`, as its type allows
// them.
RecordDevice::Fields RecordDevice::decodeFields(QByteArrayView line, uchar *bytes) const
{
    int count = 0;
    if (const QString problem = decodeLine(line, m_format, bytes, count); !problem.isEmpty())
        fail(problem);
    const bool hex = m_format == RecordFormat::IntelHex;
    Fields record;
    record.type = hex ? bytes[3] : line[1] - '0';
    if (hex && record.type >= records::kHexTypeCount)
        fail(RuntimeError::tr("unknown record type"));
    const records::RecordShape shape =
        hex ? records::kHexShapes[record.type] : records::kSRecordShapes[record.type];
    if (shape.addressBytes == 0)
        fail(RuntimeError::tr("unknown record type"));
    const int fields = hex ? 4 : 1 + shape.addressBytes; // before the data
    record.length = count - fields - 1;
    if (record.length < 0 || (shape.dataBytes != records::kAnyData && record.length != shape.dataBytes))
        fail(RuntimeError::tr("not the length of a record of this type"));
    for (int i = 1; i <= shape.addressBytes; ++i)
        record.address = record.address << 8 | bytes[i];
    if (shape.addressIsZero && record.address != 0)
        fail(RuntimeError::tr("the address of a record of this type is 0"));
    record.data = bytes + fields;
    return record;
}

// Follows the extended addresses and the end. True for a data record, whose
// address becomes the full one.
bool RecordDevice::takeHexRecord(Fields &record)
{
    const uint value = record.length == 2 ? uint(record.data[0]) << 8 | record.data[1] : 0;
    switch (record.type) {
    case records::kHexData:
        if (record.address + uint(record.length) > 0x10000)
            fail(RuntimeError::tr("the record crosses a 64 KiB boundary"));
        record.address += m_base;
        return true;
    case records::kHexEnd: m_ended = true; return false;
    case records::kHexSegmentBase: m_base = quint64(value) << 4; return false;
    case records::kHexLinearBase: m_base = quint64(value) << 16; return false;
    default: return false; // start addresses: nothing of the image
    }
}

// Counts the data records against a count record, which only the end may
// follow. True for a data record.
bool RecordDevice::takeSRecord(const Fields &record)
{
    if (record.type == records::kSHeader)
        return false;
    if (record.type >= records::kSEnd32) {
        m_ended = true;
        return false;
    }
    if (record.type == records::kSCount16 || record.type == records::kSCount24) {
        if (qint64(record.address) != m_dataRecords)
            fail(RuntimeError::tr("%1 data records, but the count record says %2")
                     .arg(QString::number(m_dataRecords), QString::number(record.address)));
        m_counted = true;
        return false;
    }
    if (m_counted)
        fail(RuntimeError::tr("a data record after the count record"));
    ++m_dataRecords;
    return true;
}

// Keeps a data record's bytes for the reads to come; false when it has none.
bool RecordDevice::takeData(const Fields &record)
{
    if (record.address + uint(record.length) > quint64(kRecordAddressLimit))
        fail(RuntimeError::tr("the address is beyond 4 GiB"));
    if (record.length == 0)
        return false;
    if (record.address < m_imageBase)
        fail(RuntimeError::tr("the address 0x%1 is below --base 0x%2")
                 .arg(record.address, 0, 16)
                 .arg(m_imageBase, 0, 16));
    const quint64 address = record.address - m_imageBase;
    // Bytes before the stream's position have already gone out.
    if (address < quint64(m_position))
        fail(RuntimeError::tr("the address 0x%1 is before the previous record").arg(record.address, 0, 16));
    m_record.address = address;
    m_record.length = record.length;
    m_record.used = 0;
    std::memcpy(m_record.bytes, record.data, size_t(record.length));
    return true;
}

// After the end record only blank lines and padding, of any length, may
// follow.
void RecordDevice::checkTail()
{
    QByteArrayView line;
    while (m_lines.next(line)) {
        if (!isPadding(line))
            fail(RuntimeError::tr("lines after the end-of-file record"));
    }
}

void RecordDevice::fail(const QString &reason) const
{
    throw badRecord(m_lines.path(), m_lines.number(), reason);
}

} // namespace tamrivel
