#include "split/records/record_writer.h"

#include "split/records/record_types.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>

namespace tamrivel {
namespace {

constexpr int kRecordBytes = 32;
// The widest lines written: an S3 line of 32 data bytes takes 80 characters
// with its CR LF (Intel HEX 77), an extended address line 17 every 64 KiB,
// and the header, count and end less than 512 together.
constexpr qint64 kWidestLineBytes = 80;
constexpr qint64 kAddressLineBytes = 17;
constexpr qint64 kFrameBytes = 512;
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

qint64 RecordWriter::textBound(qint64 imageBytes)
{
    // Beyond 32-bit addresses a record file is refused before it is written.
    if (imageBytes > kRecordAddressLimit)
        return std::numeric_limits<qint64>::max();
    const qint64 lines = (imageBytes + kRecordBytes - 1) / kRecordBytes;
    return lines * kWidestLineBytes + (imageBytes / 0x10000 + 1) * kAddressLineBytes + kFrameBytes;
}

RecordWriter::RecordWriter(RecordFormat format, qint64 imageSize, const QString &name, Emit output)
    : m_format(format), m_name(name), m_emit(std::move(output))
{
    Q_ASSERT(format != RecordFormat::Binary);
    m_addressBytes = sRecordAddressBytes(quint64(std::max<qint64>(imageSize, 1) - 1));
    if (m_format == RecordFormat::SRecord) {
        const QByteArray header = QFileInfo(name).fileName().toUtf8().left(64);
        writeRecord(0, 0, 2, reinterpret_cast<const uchar *>(header.constData()), int(header.size()));
    }
}

void RecordWriter::put(const char *data, qsizetype length)
{
    while (length > 0) {
        const qsizetype take = std::min<qsizetype>(length, kRecordBytes - m_pending.size());
        m_pending.append(data, take);
        data += take;
        length -= take;
        if (m_pending.size() == kRecordBytes)
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
    if (last >= quint64(kRecordAddressLimit))
        throw beyondRecordAddresses(m_name);
    const auto *bytes = reinterpret_cast<const uchar *>(m_pending.constData());
    const int length = int(m_pending.size());
    if (m_format == RecordFormat::IntelHex) {
        // Records are aligned to their size, so none crosses a 64 KiB boundary.
        if (m_address > 0 && m_address % 0x10000 == 0) {
            const uchar upper[2] = {uchar(m_address >> 24), uchar(m_address >> 16)};
            writeRecord(records::kHexLinearBase, 0, 2, upper, 2);
        }
        writeRecord(records::kHexData, quint32(m_address & 0xFFFF), 2, bytes, length);
    } else {
        // A source that grew during the split may need wider addresses than
        // its size promised; the termination follows the widest used.
        m_addressBytes = std::max(m_addressBytes, sRecordAddressBytes(last));
        writeRecord(records::sRecordDataType(m_addressBytes), quint32(m_address), m_addressBytes, bytes,
                    length);
    }
    ++m_dataRecords;
    m_address += quint64(length);
    m_pending.clear();
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
