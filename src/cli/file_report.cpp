#include "file_report.h"

#include <QDir>

#include <algorithm>
#include <numeric>

#include <zlib.h>

namespace tamrivel::cli {

FileReport::FileReport(const QStringList &outputs)
{
    for (const QString &path : outputs)
        m_files.push_back({path, 0, quint32(::crc32_z(0, nullptr, 0)), 0});
}

OutputTap FileReport::tap()
{
    return [this](int index, const char *data, qsizetype length) {
        Entry &entry = m_files[size_t(index)];
        entry.crc = quint32(::crc32_z(entry.crc, reinterpret_cast<const Bytef *>(data), size_t(length)));
        const auto *bytes = reinterpret_cast<const uchar *>(data);
        entry.sum = std::accumulate(bytes, bytes + length, entry.sum);
        entry.size += length;
    };
}

void FileReport::print(std::FILE *to) const
{
    int widest = 4;
    for (const Entry &entry : m_files)
        widest = std::max(widest, int(QDir::toNativeSeparators(entry.path).size()));
    const QString header = QStringLiteral("%1  %2  %3  %4\n")
                               .arg(QStringLiteral("file"), -widest)
                               .arg(QStringLiteral("bytes"), 12)
                               .arg(QStringLiteral("crc32"), 8)
                               .arg(QStringLiteral("sum"), 8);
    std::fputs(header.toLocal8Bit().constData(), to);
    for (const Entry &entry : m_files) {
        const QString line = QStringLiteral("%1  %2  %3  %4\n")
                                 .arg(QDir::toNativeSeparators(entry.path), -widest)
                                 .arg(entry.size, 12)
                                 .arg(entry.crc, 8, 16, QLatin1Char('0'))
                                 .arg(entry.sum, 8, 16, QLatin1Char('0'));
        std::fputs(line.toLocal8Bit().constData(), to);
    }
}

} // namespace tamrivel::cli
