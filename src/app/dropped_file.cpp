#include "dropped_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tamrivel {

std::optional<QString> droppedFile(const QMimeData &dropped)
{
    const QList<QUrl> urls = dropped.urls();
    if (urls.size() != 1)
        return std::nullopt;
    // An address that is not on this machine gives no local path at all.
    const QFileInfo file(urls.constFirst().toLocalFile());
    if (!file.isFile())
        return std::nullopt;
    return QDir::toNativeSeparators(file.absoluteFilePath());
}

} // namespace tamrivel
