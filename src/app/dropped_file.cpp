#include "dropped_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tamrivel {

QStringList droppedFiles(const QMimeData &dropped)
{
    QStringList files;
    for (const QUrl &url : dropped.urls()) {
        // An address that is not on this machine gives no local path at all.
        const QFileInfo file(url.toLocalFile());
        if (!file.isFile())
            return {};
        files << QDir::toNativeSeparators(file.absoluteFilePath());
    }
    return files;
}

std::optional<QString> droppedFile(const QMimeData &dropped)
{
    const QStringList files = droppedFiles(dropped);
    if (files.size() != 1)
        return std::nullopt;
    return files.constFirst();
}

} // namespace tamrivel
