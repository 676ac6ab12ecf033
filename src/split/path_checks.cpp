#include "path_checks.h"

#include "../runtime/runtime_error.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace tamrivel {
namespace {

bool folderExists(const QFileInfo &info)
{
    return info.absoluteDir().exists();
}

// What makes two paths the same file: the device and inode where the file
// exists (this catches hard links), otherwise its canonical folder and name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    QString location;

    bool operator==(const FileIdentity &other) const
    {
        if (!location.isEmpty() || !other.location.isEmpty())
            return location == other.location;
        return device == other.device && inode == other.inode;
    }
};

FileIdentity identify(const QString &path)
{
    FileIdentity id;
#ifdef Q_OS_UNIX
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        id.device = quint64(status.st_dev);
        id.inode = quint64(status.st_ino);
        return id;
    }
#endif
    QFileInfo info(path);
    if (info.exists()) {
        id.location = info.canonicalFilePath();
        return id;
    }
    // A dangling link will be written through to its target.
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    id.location = QDir(info.absolutePath()).canonicalPath() + QLatin1Char('/') + info.fileName();
    return id;
}

} // namespace

void checkPathText(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)) || !QStringView(path).isValidUtf16())
        throw RuntimeError(ErrorNumber::BadFileName, path);
}

void checkSource(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw RuntimeError(ErrorNumber::IsFolder, path);
    if (!info.exists()) {
        throw RuntimeError(folderExists(info) ? ErrorNumber::FileNotFound : ErrorNumber::FolderNotFound,
                           path);
    }
}

void checkOutput(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw RuntimeError(ErrorNumber::IsFolder, path);
    if (info.fileName().isEmpty())
        throw RuntimeError(ErrorNumber::BadFileName, path);
    if (!info.exists() && !info.isSymLink() && !folderExists(info))
        throw RuntimeError(ErrorNumber::FolderNotFound, path);
}

void refuseSameFiles(const QStringList &paths)
{
    QList<FileIdentity> seen;
    for (const QString &path : paths) {
        const FileIdentity id = identify(path);
        if (seen.contains(id))
            throw RuntimeError(ErrorNumber::SameFile, path);
        seen.append(id);
    }
}

bool isSpecialFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    return !S_ISREG(status.st_mode);
#else
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
#endif
}

} // namespace tamrivel
