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
    // Lines end in LF, CR LF or CR alone; a UTF-8 byte-order mark before the
    // first is skipped. A line too long for any record comes in pieces, each
    // marked tooLong() but the last, all with the line's number.
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
    bool m_continuing = false;
    bool m_pastMark = false;
    qint64 m_number = 0;
    QByteArrayView m_line;
};

// What a record file's image spans: where its last data ends, and how many
// of those bytes records hold (the rest is gaps, read as fill).
struct RecordExtent {
    qint64 end = 0;
    qint64 held = 0;
};

// A record file read as the bytes it describes, in constant memory, its
// first byte at address `base`. Records must come in ascending address order
// (gaps allowed, filled with `fill`). A bad line, or data below `base`,
// raises BadRecord naming the file and the line. Lines before `firstLine`,
// the comments or symbols that detection passed over, are skipped.
class RecordDevice : public QIODevice {
public:
    RecordDevice(LineReader lines, RecordFormat format, uchar fill, quint64 base = 0, qint64 firstLine = 1);

    bool isSequential() const override { return true; }
    // From here on the device yields at least `size` bytes, the last ones fill.
    void padTo(qint64 size) { m_size = size; }
    // Reads the records through from here, giving what they span.
    RecordExtent measure();

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

    struct Fields;

    void fetchRecord();
    bool parseLine(QByteArrayView line);
    Fields decodeFields(QByteArrayView line, uchar *bytes) const;
    bool takeHexRecord(Fields &record);
    bool takeSRecord(const Fields &record);
    bool takeData(const Fields &record);
    [[noreturn]] void fail(const QString &reason) const;
    void checkTail();

    LineReader m_lines;
    RecordFormat m_format;
    uchar m_fill;
    qint64 m_firstLine;
    qint64 m_size = 0;
    qint64 m_position = 0;
    quint64 m_imageBase; // the address of the image's first byte
    quint64 m_base = 0; // Intel HEX extended address
    qint64 m_dataRecords = 0; // S-record count check
    bool m_ended = false;
    bool m_counted = false; // an S5 or S6 record has been read
    Record m_record;
};

// A file is a record file when its first line of substance (past blank
// lines, comments and S-record symbol blocks) is text that starts like a
// record (":" and a hex digit, or "S", a digit and a hex digit); the line is
// left to be read again. Records in UTF-16, and text that looks like another
// converter's format, raise BadRecord naming the line: neither is an image's
// bytes.
RecordFormat detectRecordFormat(LineReader &lines);

// Reads every line through, checking each, without making the fill between
// the records: a small file may place its data gigabytes apart.
RecordExtent recordExtent(LineReader lines, RecordFormat format, uchar fill, quint64 base);

} // namespace tamrivel
