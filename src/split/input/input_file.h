#pragma once

#include "split/chip_fit.h"
#include "split/platform/platform.h"
#include "split/records/record_format.h"
#include "split/stream/named_device.h"

#include <QIODevice>

#include <memory>

namespace tamrivel {

// A file opened to be read, known by the identity of what was opened and
// never again by its name: its size is taken from the open file, and its
// bytes come from the open file. As an image, a file whose first line of
// substance (see detectRecordFormat) is text starting like a record is read
// as the bytes its records describe (Intel HEX or S-records), and any line
// that is not a sound record is an error, as is text in another converter's
// format; otherwise, and always as Raw, its bytes are taken as they are.
// A record file's image starts at address `recordBase`: a raw file has no
// addresses for it to move.
class InputFile {
public:
    enum class Reading { Raw, Image };

    InputFile(const QString &path, Reading reading, uchar fill = kErasedByte, qint64 recordBase = 0);
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    const QString &path() const { return m_path; }
    const platform::FileId &id() const { return m_id; }
    RecordFormat format() const { return m_format; }
    // Bytes it holds: for a file whose system-reported size says nothing of
    // its content (procfs, sysfs), as counted by reading it through first.
    qint64 size() const { return m_size; }
    // True for a record file whose records place a little data far apart:
    // its size is a gap the user must mean, never to be taken unasked.
    bool sparse() const;
    // False for a stream (a pipe, a FIFO, a device): its size is 0 until its
    // end is read.
    bool sizeKnown() const { return m_sizeKnown; }
    // Raises UsageError, naming the file, for a stream where `use` needs its
    // size before it is read.
    void requireKnownSize(const QString &use) const;
    // False for a pipe, a device or a file of a system folder whose size the
    // system makes up: such a source gives no names to propose outputs from.
    bool isPlainFile() const { return m_plain; }
    NamedDevice device() const { return {m_device.get(), m_path}; }

    // A record file's data may stop short of the chip's end, as many tools
    // leave out erased bytes: it then reads as filled up to `size`.
    void fillTo(qint64 size);
    // Reads the file again from its start, through the file opened: a name
    // read twice may by then name another file. Not for a stream.
    void rewind();
    // Reads the next `length` bytes of its content; fewer than the size
    // promised means the file changed since it was opened (FileChanged).
    void readExactly(char *buffer, qsizetype length) const;
    // Raises FileChanged when the file's size or status are no longer those
    // it had when it was opened. After the last read, before any result of
    // it is kept. A read that finds other than the size taken at the start
    // raises the same, so that whatever a change is seen by, the user hears
    // of it in one way.
    void confirmUnchanged() const;

private:
    void openDevice();

    QString m_path;
    uchar m_fill;
    qint64 m_recordBase;
    platform::File m_file;
    platform::FileId m_id;
    RecordFormat m_format = RecordFormat::Binary;
    qint64 m_firstRecordLine = 1;
    qint64 m_size = 0;
    qint64 m_held = 0; // of a record file: the bytes its records hold
    bool m_plain = false;
    bool m_sizeKnown = false;
    platform::FileStamp m_stamp;
    std::unique_ptr<QIODevice> m_device;
};

// How join and verify read their parts: as images, unless told to take them
// as raw bytes.
inline InputFile::Reading partReading(const ChipFit &fit)
{
    return fit.rawParts ? InputFile::Reading::Raw : InputFile::Reading::Image;
}

} // namespace tamrivel
