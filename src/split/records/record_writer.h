#pragma once

#include "split/records/record_dialect.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace tamrivel {

// Encodes an image, fed in order from the dialect's base address, as Intel
// HEX (data records of the dialect's size, cut at each 64 KiB boundary, where
// an extended linear or segment address record goes, then the end-of-file
// record) or as Motorola S-records (an S0 header, S1, S2 or S3 data records
// as chosen or as the last address needs, the count record where it fits,
// and the matching termination). Lines end in CR LF, as programmer software
// on any system accepts. Text leaves in chunks, so memory stays constant.
class RecordWriter {
public:
    using Emit = std::function<void(const char *text, qsizetype length)>;

    // `imageSize` chooses the S-record address width when the dialect leaves
    // it open; `name` goes into the S0 header and into any error.
    RecordWriter(RecordFormat format, const RecordDialect &dialect, qint64 imageSize, const QString &name,
                 Emit output);

    // At least as many bytes as the text of an image of `imageBytes` takes
    // in records of `recordBytes`, so that the space it needs can be known
    // before a byte is written.
    static qint64 textBound(qint64 imageBytes, int recordBytes);

    void put(const char *data, qsizetype length);
    // Writes the last data record and the closing records.
    void finish();

private:
    qsizetype recordRoom() const;
    void writeDataRecord();
    void writeHexAddress();
    void writeRecord(int type, quint32 address, int addressBytes, const uchar *data, int length);
    void flushText();

    RecordFormat m_format;
    RecordDialect m_dialect;
    QString m_name;
    Emit m_emit;
    qint64 m_reach;
    int m_addressBytes = 2; // S-records only
    quint64 m_address = 0; // of the first byte in m_pending
    quint64 m_upper = 0; // Intel HEX: the 64 KiB the last address record chose
    qint64 m_dataRecords = 0;
    QByteArray m_pending;
    QByteArray m_text;
};

} // namespace tamrivel
