#include "output_file.h"

#include "../runtime/runtime_error.h"
#include "path_checks.h"

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tamrivel {

OutputFile::OutputFile(const QString &path) : m_path(path)
{
    m_replacing = !isSpecialFile(path);
    if (m_replacing)
        m_file = std::make_unique<QSaveFile>(path);
    else
        m_file = std::make_unique<QFile>(path);
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // The file itself is about to be made, so a missing entry is a folder.
        const int err = errno;
        throw RuntimeError(err == ENOENT ? ErrorNumber::FolderNotFound
                                         : errorNumberFromErrno(err, ErrorNumber::AccessDenied),
                           path);
    }
}

NamedDevice OutputFile::named()
{
    return NamedDevice{m_file.get(), m_path};
}

void OutputFile::syncToDisk()
{
    errno = 0;
    if (!m_file->flush())
        raiseDeviceError(named(), errno);
#ifdef Q_OS_UNIX
    if (m_replacing && ::fsync(m_file->handle()) != 0)
        raiseDeviceError(named(), errno);
#endif
}

void OutputFile::commit()
{
    errno = 0;
    if (auto *save = qobject_cast<QSaveFile *>(m_file.get())) {
        if (!save->commit())
            raiseDeviceError(named(), errno);
    } else {
        m_file->close();
    }
}

} // namespace tamrivel
