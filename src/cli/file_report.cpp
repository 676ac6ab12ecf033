#include "file_report.h"

#include "crc32.h"

#include <QDir>

#include <algorithm>

namespace tamrivel::cli {

FileReport::FileReport(const QStringList &outputs)
{
    for (const QString &path : outputs)
        m_files.push_back({path, 0, 0});
}

OutputTap FileReport::tap()
{
    return [this](int index, const char *data, qsizetype length) {
        Entry &entry = m_files[size_t(index)];
        entry.crc = crc32Update(entry.crc, data, length);
        entry.size += length;
    };
}

void FileReport::print(std::FILE *to) const
{
    int widest = 4;
    for (const Entry &entry : m_files)
        widest = std::max(widest, int(QDir::toNativeSeparators(entry.path).size()));
    const QString header = QStringLiteral("%1  %2  %3\n")
                               .arg(QStringLiteral("file"), -widest)
                               .arg(QStringLiteral("bytes"), 12)
                               .arg(QStringLiteral("crc32"), 8);
    std::fputs(header.toLocal8Bit().constData(), to);
    for (const Entry &entry : m_files) {
        const QString line = QStringLiteral("%1  %2  %3\n")
                                 .arg(QDir::toNativeSeparators(entry.path), -widest)
                                 .arg(entry.size, 12)
                                 .arg(entry.crc, 8, 16, QLatin1Char('0'));
        std::fputs(line.toLocal8Bit().constData(), to);
    }
}

} // namespace tamrivel::cli
