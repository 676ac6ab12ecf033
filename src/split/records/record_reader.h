#pragma once

#include "split/platform/platform.h"
#include "split/records/record_format.h"

#include <QByteArrayView>
#include <QIODevice>

#include <memory>
#include <vector>

namespace tamrivel {

// Lines of a file, read in blocks, in constant memory.
class LineReader {
public:
    LineReader(const platform::File &file, const QString &path);

    // The next line, trimmed, valid until the next call; false at the end.
    // A line too long for any record is cut short and marked tooLong().
    bool next(QByteArrayView &line);
    // Makes next() give the same line again.
    void again() { m_again = true; }
    qint64 number() const { return m_number; }
    bool tooLong() const { return m_tooLong; }
    const QString &path() const { return m_path; }

private:
    const platform::File *m_file;
    QString m_path;
    std::vector<char> m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
    bool m_again = false;
    bool m_hadLine = false;
    bool m_tooLong = false;
    qint64 m_number = 0;
    QByteArrayView m_line;
};

// A record file read as the bytes it describes, in constant memory. Records
// must come in ascending address order (gaps allowed, filled with `fill`). A
// bad line raises BadRecord naming the file and the line.
class RecordDevice : public QIODevice {
public:
    RecordDevice(LineReader lines, RecordFormat format, uchar fill);

    bool isSequential() const override { return true; }
    // From here on the device yields at least `size` bytes, the last ones fill.
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

    LineReader m_lines;
    RecordFormat m_format;
    uchar m_fill;
    qint64 m_size = 0;
    qint64 m_position = 0;
    quint64 m_base = 0; // Intel HEX extended address
    qint64 m_dataRecords = 0; // S-record count check
    bool m_ended = false;
    Record m_record;
};

// An image read back from a file: Intel HEX or S-records when its first line
// is a well-formed record, the raw bytes otherwise. A record file is read
// through once on opening, to check every line and find its size (the end
// of its last data), then opened again, as the same file, to be read.
class PartSource {
public:
    PartSource(const QString &path, uchar fill);
    PartSource(const PartSource &) = delete;
    PartSource &operator=(const PartSource &) = delete;

    const QString &path() const { return m_path; }
    QIODevice *device() const { return m_device.get(); }
    const platform::FileId &id() const { return m_id; }
    RecordFormat format() const { return m_format; }
    qint64 size() const { return m_size; }
    // A record file's data may stop short of the chip's end, as many tools
    // leave out erased bytes: it then reads as filled up to `size`.
    void fillTo(qint64 size);

private:
    QString m_path;
    platform::File m_file;
    platform::FileId m_id;
    RecordFormat m_format = RecordFormat::Binary;
    qint64 m_size = 0;
    std::unique_ptr<QIODevice> m_device;
};

} // namespace tamrivel
