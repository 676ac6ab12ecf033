#pragma once

#include "split/records/record_format.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace tamrivel {

// Encodes an image, fed in order from address 0, as Intel HEX (32-byte data
// records, an extended linear address record at each 64 KiB boundary, the
// end-of-file record) or as Motorola S-records (an S0 header, S1, S2 or S3
// data records as the last address needs, the count record where it fits,
// and the matching termination). Lines end in CR LF, as programmer software
// on any system accepts. Text leaves in chunks, so memory stays constant.
class RecordWriter {
public:
    using Emit = std::function<void(const char *text, qsizetype length)>;

    // `imageSize` chooses the S-record address width; `name` goes into the S0
    // header and into any error.
    RecordWriter(RecordFormat format, qint64 imageSize, const QString &name, Emit output);

    // At least as many bytes as the text of an image of `imageBytes` takes,
    // so that the space it needs can be known before a byte is written.
    static qint64 textBound(qint64 imageBytes);

    void put(const char *data, qsizetype length);
    // Writes the last data record and the closing records.
    void finish();

private:
    void writeDataRecord();
    void writeRecord(int type, quint32 address, int addressBytes, const uchar *data, int length);
    void flushText();

    RecordFormat m_format;
    QString m_name;
    Emit m_emit;
    int m_addressBytes = 2; // S-records only
    quint64 m_address = 0; // of the first byte in m_pending
    qint64 m_dataRecords = 0;
    QByteArray m_pending;
    QByteArray m_text;
};

} // namespace tamrivel
