#include "file_report.h"

#include "cli/words.h"
#include "split/platform/console.h"

#include <QDir>

#include <algorithm>

namespace tamrivel::cli {

OutputTap FileReport::tap()
{
    return [this](int index, const char *data, qsizetype length) {
        // An output that is never written to is never seen here.
        if (size_t(index) >= m_files.size())
            m_files.resize(size_t(index) + 1);
        m_files[size_t(index)].add(data, length, m_wordSums);
    };
}

void FileReport::print(std::FILE *to, const QStringList &outputs) const
{
    int widest = 4;
    for (const QString &path : outputs)
        widest = std::max(widest, int(QDir::toNativeSeparators(path).size()));
    // Names are padded by hand: a name given to a placeholder could hold
    // placeholders of its own for the numbers that follow.
    QString header = Words::tr("file").leftJustified(widest) +
        QStringLiteral("  %1  %2  %3  %4")
            .arg(Words::tr("bytes"), 12)
            .arg(QStringLiteral("crc32"), 8)
            .arg(QStringLiteral("sum16"), 5)
            .arg(QStringLiteral("sum32"), 8);
    if (m_wordSums)
        header +=
            QStringLiteral("  %1  %2").arg(QStringLiteral("words-le"), 8).arg(QStringLiteral("words-be"), 8);
    platform::writeText(to, header + QLatin1Char('\n'));
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const ByteSums entry = size_t(i) < m_files.size() ? m_files[size_t(i)] : ByteSums{};
        QString line = QDir::toNativeSeparators(outputs[i]).leftJustified(widest) +
            QStringLiteral("  %1  %2   %3  %4")
                .arg(entry.size, 12)
                .arg(entry.crc, 8, 16, QLatin1Char('0'))
                .arg(entry.sum16(), 4, 16, QLatin1Char('0'))
                .arg(entry.sum, 8, 16, QLatin1Char('0'));
        if (m_wordSums)
            line += QStringLiteral("  %1  %2")
                        .arg(entry.wordSum(true), 8, 16, QLatin1Char('0'))
                        .arg(entry.wordSum(false), 8, 16, QLatin1Char('0'));
        platform::writeText(to, line + QLatin1Char('\n'));
    }
}

} // namespace tamrivel::cli
