#include "window_split.h"

#include "../runtime/runtime_error.h"
#include "../split/path_checks.h"
#include "../split/platform.h"
#include "../split/split_files.h"

#include <QDir>
#include <QFileInfo>

namespace tamrivel {
namespace {

// The split itself checks the text of every path before it opens anything,
// which would report an empty 奇数 ahead of a missing source. These checks
// open nothing (a FIFO source must be opened once only), and leave every
// other error to the split.
RuntimeError emptyField(const QString &fieldName)
{
    return RuntimeError(ErrorNumber::BadFileName, QString(),
                        QStringLiteral("%1の欄が空です。").arg(fieldName));
}

void checkSourceField(const QString &path)
{
    if (path.isEmpty())
        throw emptyField(QStringLiteral("分割するファイル"));
    checkPathText(path);
    const QFileInfo info(path);
    if (info.isDir())
        throw RuntimeError(ErrorNumber::IsFolder, path);
    if (!info.exists())
        throw RuntimeError(
            info.absoluteDir().exists() ? ErrorNumber::FileNotFound : ErrorNumber::FolderNotFound, path);
}

void checkOutputField(const QString &path, const QString &fieldName)
{
    if (path.isEmpty())
        throw emptyField(fieldName);
    checkPathText(path);
    platform::resolveOutput(path);
}

} // namespace

void splitFromFields(const QString &source, const QString &even, const QString &odd,
                     const std::atomic<bool> &stop)
{
    checkSourceField(source);
    checkOutputField(even, QStringLiteral("偶数"));
    checkOutputField(odd, QStringLiteral("奇数"));
    Watchers watchers;
    watchers.stop = &stop;
    splitFile(source, even, odd, watchers);
}

} // namespace tamrivel
