#pragma once

#include "record_format.h"

#include <QFile>
#include <QIODevice>

#include <memory>

namespace tamrivel {

// An image read back from a file: the bytes a chip holds, whatever the file's
// format.
struct PartSource {
    std::unique_ptr<QIODevice> device; // open, read-only
    qint64 size = 0; // bytes the device yields
    RecordFormat format = RecordFormat::Binary;
};

// Opens `path` as Intel HEX or S-records when its first line is a valid
// record, and as raw bytes otherwise. A record file is read through once
// here, to check every line and find its size (the end of its last data);
// gaps and anything up to `size` after the data read as `fill`. A bad line
// raises BadRecord naming the file and the line.
PartSource openPart(const QString &path, uchar fill);

// A record file read as the bytes it describes, in constant memory. Records
// must come in ascending address order (gaps allowed).
class RecordDevice : public QIODevice {
public:
    RecordDevice(const QString &path, RecordFormat format, uchar fill);

    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // From here on the device yields exactly `size` bytes, the last ones fill.
    void padTo(qint64 size) { m_size = size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    struct Record {
        quint64 address = 0;
        int length = 0;
        int used = 0;
        uchar bytes[256] = {};
    };

    void fetchRecord();
    bool parseLine(QByteArrayView line);
    [[noreturn]] void fail(const QString &reason) const;
    void checkTail();

    QFile m_file;
    RecordFormat m_format;
    uchar m_fill;
    qint64 m_size = 0;
    qint64 m_position = 0;
    qint64 m_line = 0;
    quint64 m_base = 0; // Intel HEX extended address
    qint64 m_dataRecords = 0; // S-record count check
    bool m_ended = false;
    Record m_record;
};

} // namespace tamrivel
