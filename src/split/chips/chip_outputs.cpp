#include "split/chips/chip_outputs.h"

namespace tamrivel {

ChipOutputs::FileImage::FileImage(const NamedDevice &file, const ChipFit &fit, qint64 imageSize,
                                  FileTap report)
    : m_file(file), m_report(std::move(report))
{
    if (fit.format != RecordFormat::Binary) {
        m_records.emplace(fit.format, fit.records, imageSize, file.name,
                          [this](const char *text, qsizetype length) { writeFully(m_file, text, length); });
    }
}

void ChipOutputs::FileImage::put(const char *data, qsizetype length)
{
    if (m_report)
        m_report(data, length);
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

QList<NamedDevice> ChipOutputs::attach(const QList<NamedDevice> &files, const OutputTap &report)
{
    Q_ASSERT(files.size() == m_layout.fileCount());
    std::vector<ByteSink *> sinks;
    QStringList names;
    for (int file = 0; file < m_layout.fileCount(); ++file) {
        m_files.push_back(std::make_unique<FileImage>(files[file], m_layout.fit(), m_layout.fileSize(file),
                                                      tapFor(report, file)));
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

} // namespace tamrivel
