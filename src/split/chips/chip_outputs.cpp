#include "split/chips/chip_outputs.h"

#include "runtime/runtime_error.h"

namespace tamrivel {

ChipOutputs::FileImage::FileImage(const NamedDevice &file, RecordFormat format, qint64 imageSize)
    : m_file(file)
{
    if (format != RecordFormat::Binary) {
        m_records.emplace(format, imageSize, file.name,
                          [this](const char *text, qsizetype length) { writeFully(m_file, text, length); });
    }
}

void ChipOutputs::FileImage::put(const char *data, qsizetype length)
{
    if (m_file.tap)
        m_file.tap(data, length);
    if (m_records)
        m_records->put(data, length);
    else
        writeFully(m_file, data, length);
}

void ChipOutputs::FileImage::finish()
{
    if (m_records)
        m_records->finish();
}

QList<NamedDevice> ChipOutputs::attach(const QList<NamedDevice> &files)
{
    Q_ASSERT(files.size() == m_layout.fileCount());
    std::vector<ByteSink *> sinks;
    QStringList names;
    for (int file = 0; file < m_layout.fileCount(); ++file) {
        m_files.push_back(
            std::make_unique<FileImage>(files[file], m_layout.fit().format, m_layout.fileSize(file)));
        sinks.push_back(m_files.back().get());
        names.append(files[file].name);
    }
    m_ways.emplace(m_layout, sinks, names);
    return m_ways->named;
}

void ChipOutputs::finish()
{
    m_ways->finish();
    for (auto &file : m_files)
        file->finish();
}

QList<NamedDevice> LengthCut::attach(const QList<NamedDevice> &files)
{
    Q_ASSERT(files.size() == 1);
    m_file = files.first();
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return {NamedDevice{this, m_file.name}};
}

qint64 LengthCut::writeData(const char *data, qint64 length)
{
    const qint64 kept = std::clamp<qint64>(m_length - m_seen, 0, length);
    if (kept > 0) {
        if (m_file.tap)
            m_file.tap(data, qsizetype(kept));
        writeFully(m_file, data, qsizetype(kept));
    }
    for (qint64 i = kept; i < length; ++i) {
        if (uchar(data[i]) != m_fill)
            throw RuntimeError(ErrorNumber::InvalidArgument, m_file.name,
                               QStringLiteral("(--length の先、0x%1 に埋め値でないバイト 0x%2 があります)")
                                   .arg(m_seen + i, 0, 16)
                                   .arg(uchar(data[i]), 2, 16, QLatin1Char('0')));
    }
    m_seen += length;
    return length;
}

void LengthCut::finish()
{
    if (m_seen < m_length)
        throw RuntimeError(
            ErrorNumber::InvalidArgument, m_file.name,
            QStringLiteral("(--length %1 バイトは部品の合計 %2 バイトより長い)").arg(m_length).arg(m_seen));
}

} // namespace tamrivel
