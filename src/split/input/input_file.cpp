#include "split/input/input_file.h"

#include "runtime/runtime_error.h"
#include "split/input/path_checks.h"
#include "split/records/record_reader.h"
#include "split/stream/native_device.h"

namespace tamrivel {

InputFile::InputFile(const QString &path, Reading reading, uchar fill) : m_path(path)
{
    checkPathText(path);
    platform::File first = platform::openForReading(path);
    m_id = platform::identityOf(first, path);
    m_plain = platform::kindOf(first, path) == platform::Kind::Regular && platform::sizeIsReal(first, path);
    // A pipe cannot be read twice, so it can only be taken as it comes.
    if (reading == Reading::Image && m_plain) {
        LineReader lines(first, path);
        m_format = detectRecordFormat(lines);
        if (m_format != RecordFormat::Binary)
            m_size = recordImageSize(std::move(lines), m_format, fill);
        first = platform::openForReading(path);
        if (!(platform::identityOf(first, path) == m_id))
            throw RuntimeError(ErrorNumber::MisfitParts, path);
    }
    m_file = std::move(first);
    if (m_format == RecordFormat::Binary) {
        m_size = std::max<qint64>(0, platform::sizeOf(m_file, path));
        m_device = std::make_unique<NativeDevice>(m_file, path, QIODevice::ReadOnly);
    } else {
        auto records = std::make_unique<RecordDevice>(LineReader(m_file, path), m_format, fill);
        records->padTo(m_size);
        m_device = std::move(records);
    }
}

void InputFile::fillTo(qint64 size)
{
    if (m_format == RecordFormat::Binary || size <= m_size)
        return;
    static_cast<RecordDevice *>(m_device.get())->padTo(size);
    m_size = size;
}

} // namespace tamrivel
