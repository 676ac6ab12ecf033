#include "split/records/record_writer.h"

#include "split/records/record_types.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>

namespace tamrivel {
namespace {

// The widest lines written: an S3 line takes 16 characters with its CR LF
// around the data's two a byte (Intel HEX 13), an extended address line 17
// at each 64 KiB boundary, and the header, count and end less than 512
// together.
constexpr qint64 kLineFrameBytes = 16;
constexpr qint64 kAddressLineBytes = 17;
constexpr qint64 kFrameBytes = 512;
constexpr int kMostSRecordData = 255 - 4 - 1;
constexpr qsizetype kTextChunk = 64 * 1024;

int sRecordAddressBytes(quint64 lastAddress)
{
    return lastAddress <= 0xFFFF ? 2 : lastAddress <= 0xFFFFFF ? 3 : 4;
}

void appendHex(QByteArray &to, uint value, int bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        to += kDigits[(value >> (shift + 4)) & 0xF];
        to += kDigits[(value >> shift) & 0xF];
    }
}

} // namespace

qint64 RecordWriter::textBound(qint64 imageBytes, int recordBytes)
{
    // Beyond 32-bit addresses a record file is refused before it is written.
    if (imageBytes > kRecordAddressLimit)
        return std::numeric_limits<qint64>::max();
    // A base off a 64 KiB boundary cuts a record more at each one.
    const qint64 boundaries = imageBytes / 0x10000 + 2;
    const qint64 lines = (imageBytes + recordBytes - 1) / recordBytes + boundaries;
    return lines * (kLineFrameBytes + 2 * recordBytes) + boundaries * kAddressLineBytes + kFrameBytes;
}

RecordWriter::RecordWriter(RecordFormat format, const RecordDialect &dialect, qint64 imageSize,
                           const QString &name, Emit output)
    : m_format(format),
      m_dialect(dialect),
      m_name(name),
      m_emit(std::move(output)),
      m_reach(addressReach(format, dialect)),
      m_address(quint64(dialect.base))
{
    Q_ASSERT(format != RecordFormat::Binary);
    Q_ASSERT(dialect.recordBytes >= 1 && dialect.recordBytes <= 255);
    m_addressBytes = dialect.sRecordAddressBytes > 0
        ? dialect.sRecordAddressBytes
        : sRecordAddressBytes(quint64(dialect.base + std::max<qint64>(imageSize, 1) - 1));
    if (m_format == RecordFormat::SRecord) {
        const QByteArray header = QFileInfo(name).fileName().toUtf8().left(64);
        writeRecord(0, 0, 2, reinterpret_cast<const uchar *>(header.constData()), int(header.size()));
    }
}

// An S-record's count byte covers its address and checksum too: an S3
// record, the widest, has room for 250 data bytes, and so has every
// S-record written, whatever width the addresses end up needing. An Intel
// HEX record ends at a 64 KiB boundary, as its address field does.
qsizetype RecordWriter::recordRoom() const
{
    if (m_format == RecordFormat::SRecord)
        return std::min(m_dialect.recordBytes, kMostSRecordData);
    return qsizetype(std::min<quint64>(quint64(m_dialect.recordBytes), 0x10000 - m_address % 0x10000));
}

void RecordWriter::put(const char *data, qsizetype length)
{
    while (length > 0) {
        const qsizetype take = std::min<qsizetype>(length, recordRoom() - m_pending.size());
        m_pending.append(data, take);
        data += take;
        length -= take;
        if (m_pending.size() == recordRoom())
            writeDataRecord();
    }
}

void RecordWriter::finish()
{
    if (!m_pending.isEmpty())
        writeDataRecord();
    if (m_format == RecordFormat::IntelHex) {
        writeRecord(records::kHexEnd, 0, 2, nullptr, 0);
    } else {
        if (m_dataRecords <= 0xFFFF)
            writeRecord(records::kSCount16, quint32(m_dataRecords), 2, nullptr, 0);
        else if (m_dataRecords <= 0xFFFFFF)
            writeRecord(records::kSCount24, quint32(m_dataRecords), 3, nullptr, 0);
        writeRecord(records::sRecordEndType(m_addressBytes), 0, m_addressBytes, nullptr, 0);
    }
    flushText();
}

void RecordWriter::writeDataRecord()
{
    const quint64 last = m_address + quint64(m_pending.size()) - 1;
    if (last >= quint64(m_reach)) {
        if (m_reach == kRecordAddressLimit)
            throw beyondRecordAddresses(m_name);
        throw RuntimeError(
            ErrorNumber::InvalidArgument, m_name,
            RuntimeError::tr("(the chosen record addresses reach only to 0x%1)").arg(m_reach, 0, 16));
    }
    const auto *bytes = reinterpret_cast<const uchar *>(m_pending.constData());
    const int length = int(m_pending.size());
    if (m_format == RecordFormat::IntelHex) {
        if (m_address >> 16 != m_upper)
            writeHexAddress();
        writeRecord(records::kHexData, quint32(m_address & 0xFFFF), 2, bytes, length);
    } else {
        // A source that grew during the split may need wider addresses than
        // its size promised; the termination follows the widest used.
        if (m_dialect.sRecordAddressBytes == 0)
            m_addressBytes = std::max(m_addressBytes, sRecordAddressBytes(last));
        writeRecord(records::sRecordDataType(m_addressBytes), quint32(m_address), m_addressBytes, bytes,
                    length);
    }
    ++m_dataRecords;
    m_address += quint64(length);
    m_pending.clear();
}

// Points the records that follow at the 64 KiB that m_address lies in: a
// segment of 0x1000 paragraphs for each, or its upper 16 address bits.
void RecordWriter::writeHexAddress()
{
    m_upper = m_address >> 16;
    const bool segment = m_dialect.hexAddressing == HexAddressing::Segment;
    const uint value = uint(segment ? m_upper << 12 : m_upper);
    const uchar field[2] = {uchar(value >> 8), uchar(value)};
    writeRecord(segment ? records::kHexSegmentBase : records::kHexLinearBase, 0, 2, field, 2);
}

void RecordWriter::writeRecord(int type, quint32 address, int addressBytes, const uchar *data, int length)
{
    uint sum = 0;
    if (m_format == RecordFormat::IntelHex) {
        m_text += ':';
        appendHex(m_text, uint(length), 1);
        appendHex(m_text, address, 2);
        appendHex(m_text, uint(type), 1);
        sum = uint(length) + (address >> 8) + address + uint(type);
    } else {
        const uint count = uint(addressBytes + length + 1);
        m_text += 'S';
        m_text += char('0' + type);
        appendHex(m_text, count, 1);
        appendHex(m_text, address, addressBytes);
        sum = count;
        for (int shift = 0; shift < addressBytes * 8; shift += 8)
            sum += address >> shift;
    }
    for (int i = 0; i < length; ++i) {
        appendHex(m_text, data[i], 1);
        sum += data[i];
    }
    appendHex(m_text, records::checksumFor(m_format, sum), 1);
    m_text += "\r\n";
    if (m_text.size() >= kTextChunk)
        flushText();
}

void RecordWriter::flushText()
{
    if (!m_text.isEmpty())
        m_emit(m_text.constData(), m_text.size());
    m_text.clear();
}

} // namespace tamrivel
