#include "split/input/input_file.h"

#include "runtime/runtime_error.h"
#include "split/input/path_checks.h"
#include "split/records/record_reader.h"
#include "split/stream/native_device.h"
#include "split/usage_error.h"

#include <vector>

namespace tamrivel {
namespace {

// A file of the kernel's own folders holds what a read yields, whatever its
// size says: counted here, before the read that uses it.
qint64 bytesReadThrough(const platform::File &file, const QString &path)
{
    std::vector<char> buffer(64 * 1024);
    qint64 total = 0;
    while (const qsizetype got = platform::readSome(file, buffer.data(), qsizetype(buffer.size()), path))
        total += got;
    return total;
}

} // namespace

InputFile::InputFile(const QString &path, Reading reading, uchar fill, qint64 recordBase)
    : m_path(path), m_fill(fill), m_recordBase(recordBase)
{
    checkPathText(path);
    m_file = platform::openForReading(path);
    m_id = platform::identityOf(m_file, path);
    const bool regular = platform::kindOf(m_file, path) == platform::Kind::Regular;
    m_plain = regular && platform::sizeIsReal(m_file, path);
    m_sizeKnown = regular;
    if (regular)
        m_stamp = platform::stampOf(m_file, path);
    // Read again through the same open file, never by name, which may by
    // then name another.
    if (regular && !m_plain) {
        m_stamp.size = bytesReadThrough(m_file, path);
        platform::rewind(m_file, path);
    }
    // A pipe cannot be read twice, so it can only be taken as it comes.
    if (reading == Reading::Image && m_plain) {
        LineReader lines(m_file, path);
        m_format = detectRecordFormat(lines);
        m_firstRecordLine = lines.number();
        if (m_format != RecordFormat::Binary) {
            const RecordExtent extent = recordExtent(std::move(lines), m_format, fill, quint64(m_recordBase));
            m_size = extent.end;
            m_held = extent.held;
        }
        platform::rewind(m_file, path);
    }
    if (m_format == RecordFormat::Binary)
        m_size = m_sizeKnown ? m_stamp.size : 0;
    openDevice();
}

void InputFile::openDevice()
{
    if (m_format == RecordFormat::Binary) {
        m_device = std::make_unique<NativeDevice>(m_file, m_path, QIODevice::ReadOnly,
                                                  m_sizeKnown ? m_size : NativeDevice::kUnknownSize);
    } else {
        auto records = std::make_unique<RecordDevice>(LineReader(m_file, m_path), m_format, m_fill,
                                                      quint64(m_recordBase), m_firstRecordLine);
        records->padTo(m_size);
        m_device = std::move(records);
    }
}

bool InputFile::sparse() const
{
    // Far more than a chip's worth of gaps, and far more gap than data.
    constexpr qint64 kLargeGap = 64 * 1024 * 1024;
    return m_format != RecordFormat::Binary && m_size > kLargeGap && m_size / 16 > m_held;
}

void InputFile::rewind()
{
    Q_ASSERT(m_sizeKnown);
    platform::rewind(m_file, m_path);
    openDevice();
}

void InputFile::readExactly(char *buffer, qsizetype length) const
{
    if (readFully(device(), buffer, length) != length)
        throw RuntimeError(ErrorNumber::FileChanged, m_path);
}

void InputFile::confirmUnchanged() const
{
    // The kernel's own files keep no times worth comparing; their reads are
    // held to the size counted instead.
    if (!m_plain)
        return;
    const platform::FileStamp now = platform::stampOf(m_file, m_path);
    if (now.size != m_stamp.size || now.modified != m_stamp.modified)
        throw RuntimeError(ErrorNumber::FileChanged, m_path);
    // The status time catches a rewrite whose modification time was set
    // back, but moves for a new link or a permission change as well: the
    // user is told which was seen, so as not to look for a write that may
    // never have happened.
    if (now.changed != m_stamp.changed)
        throw RuntimeError(ErrorNumber::FileChanged, m_path,
                           RuntimeError::tr("(its status changed: a write, a new link or a change of "
                                            "permissions changes it)"));
}

void InputFile::requireKnownSize(const QString &use) const
{
    if (!m_sizeKnown)
        throw UsageError{UsageError::tr("'%1' is a stream, whose size is known only once it is read to its "
                                        "end, and %2 needs it first")
                             .arg(m_path, use)};
}

void InputFile::fillTo(qint64 size)
{
    if (m_format == RecordFormat::Binary || size <= m_size)
        return;
    static_cast<RecordDevice *>(m_device.get())->padTo(size);
    m_size = size;
}

} // namespace tamrivel
