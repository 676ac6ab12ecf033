#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

namespace tamrivel::testing {

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// Every entry below `root` (hidden ones too) with its bytes, to prove that a
// failed operation changed nothing and left no temporary file behind.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content;
        if (info.isSymLink())
            content = "link:" + info.symLinkTarget().toUtf8();
        else if (info.isFile())
            content = readBytes(path);
        else
            content = "<other>";
        entries.insert(QDir(root).relativeFilePath(path), content);
    }
    return entries;
}

} // namespace tamrivel::testing
