#include "common_dialog.h"

#include "runtime_error.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

#include <algorithm>

namespace tamrivel {
namespace {

struct FilterEntry {
    QString description;
    QString pattern;
};

QList<FilterEntry> parseFilter(const QString &filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        if (!fields[i].isEmpty())
            entries.append({fields[i], fields[i + 1]});
    }
    return entries;
}

// "*.*" has always meant every file to the people who type it, but as a
// wildcard here it would hide names without a dot, such as a ROM image
// called "kickstart".
QStringList patternsOf(const FilterEntry &entry)
{
    QStringList patterns = entry.pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &pattern : patterns) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    return patterns;
}

// Qt writes sizes and dates in the system's locale, whatever language the
// dialog speaks ("1,000 bytes", "7 Dec 2026 09:47:36"); these are written the
// Japanese way, as the rest of the dialog is.
class JapaneseDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files || role != Qt::DisplayRole)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        if (index.column() == kSizeColumn && !files->isDir(file))
            return japanese.formattedDataSize(files->size(file), 1, QLocale::DataSizeTraditionalFormat);
        if (index.column() == kDateColumn)
            return japanese.toString(files->lastModified(file), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

// Qt sizes the size, type and date columns for short English texts, which
// cuts the Japanese ones; these follow what they hold instead.
void makeColumnsReadable(QFileDialog &dialog)
{
    dialog.setProxyModel(new JapaneseDetails(&dialog));
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        for (int column = 1; column < view->header()->count(); ++column)
            view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

void applyFilters(QFileDialog &dialog, const QString &filter, int filterIndex)
{
    const QList<FilterEntry> entries = parseFilter(filter);
    if (entries.isEmpty())
        return;
    QStringList descriptions;
    for (const FilterEntry &entry : entries)
        descriptions.append(entry.description);
    dialog.setNameFilters(descriptions);

    // The dialog reads patterns out of the description's parentheses; ours
    // come from the pattern half of each pair instead, once the dialog has
    // applied its own.
    auto usePatterns = [&dialog, entries](const QString &description) {
        auto *model = dialog.findChild<QFileSystemModel *>();
        for (const FilterEntry &entry : entries) {
            if (entry.description == description && model)
                model->setNameFilters(patternsOf(entry));
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, usePatterns, Qt::QueuedConnection);
    const int index = std::clamp(filterIndex, 1, int(entries.size())) - 1;
    dialog.selectNameFilter(descriptions[index]);
    usePatterns(descriptions[index]);
}

} // namespace

void CommonDialog::ShowOpen()
{
    QFileDialog dialog(parentWidget(), m_title);
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(m_flags & AllowMultiselect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    makeColumnsReadable(dialog);
    // A second browse starts where the last one ended.
    if (!m_fileName.isEmpty())
        dialog.setDirectory(QFileInfo(m_fileName).absolutePath());
    applyFilters(dialog, m_filter, m_filterIndex);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (m_cancelError)
            throw RuntimeError(ErrorNumber::Cancelled);
        m_fileName.clear();
        m_fileNames.clear();
        return;
    }
    m_fileNames = dialog.selectedFiles();
    for (QString &name : m_fileNames)
        name = QDir::toNativeSeparators(name);
    m_fileName = m_fileNames.constFirst();
}

} // namespace tamrivel
