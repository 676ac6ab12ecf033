#include "split/platform/files_posix.h"
#include "split/platform/fault_hook.h"

#include <QFile>

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tamrivel::platform {
namespace posix {
namespace {

ErrorNumber fromErrno(int err, ErrorNumber fallback)
{
    switch (err) {
    case ENOENT: return ErrorNumber::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY: return ErrorNumber::AccessDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return ErrorNumber::DiskFull;
    case EIO:
    case ENXIO:
    case EPIPE: return ErrorNumber::DeviceIo;
    case EISDIR: return ErrorNumber::IsFolder;
    case EMFILE:
    case ENFILE: return ErrorNumber::TooManyOpenFiles;
    case ENAMETOOLONG:
    case ELOOP:
    case ENOTDIR:
    case EILSEQ: return ErrorNumber::BadFileName;
    default: return fallback;
    }
}

} // namespace

void raise(const QString &path, ErrorNumber fallback, int err)
{
    throw RuntimeError(fromErrno(err, fallback), path);
}

std::pair<QByteArray, QByteArray> splitLast(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), path};
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

struct stat statusOf(int fd, const QString &path)
{
    struct stat status { };
    if (::fstat(fd, &status) != 0)
        raise(path);
    return status;
}

FileId idOf(const struct stat &status)
{
    return FileId{quint64(status.st_dev), quint64(status.st_ino), 0, QString()};
}

Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::Regular;
    if (S_ISDIR(mode))
        return Kind::Folder;
    return Kind::Other;
}

} // namespace posix

using namespace posix;

namespace {

// A missing file is reported as a missing folder when that is what is missing.
[[noreturn]] void raiseOpenFailure(const QString &path, int err)
{
    if (err == ENOENT) {
        struct stat folder { };
        if (::stat(splitLast(encoded(path)).first.constData(), &folder) != 0) {
            if (errno == ENOENT)
                throw RuntimeError(ErrorNumber::FolderNotFound, path);
            raise(path, ErrorNumber::AccessDenied);
        }
    }
    raise(path, ErrorNumber::AccessDenied, err);
}

// The file systems whose files the kernel makes up as they are read: they
// show a size of 0 or a page, whatever a read yields.
bool madeUpByTheKernel(const struct statfs &system)
{
    constexpr unsigned long kMadeUp[] = {
        0x9fa0, // proc
        0x62656572, // sysfs
        0x64626720, // debugfs
        0x74726163, // tracefs
        0x73636673, // securityfs
        0x27e0eb, // cgroup
        0x63677270, // cgroup2
        0xcafe4a11, // bpf
        0x6e736673, // nsfs
        0xf97cff8c, // selinuxfs
    };
    const auto type = static_cast<unsigned long>(system.f_type);
    return std::find(std::begin(kMadeUp), std::end(kMadeUp), type) != std::end(kMadeUp);
}

// The type of the file system mounted as `device`, from the mount table.
QByteArray mountTypeOf(dev_t device)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wanted = QByteArray::number(major(device)) + ':' + QByteArray::number(minor(device));
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() > 2 && fields[2] == wanted && dash > 0 && dash + 1 < fields.size())
            return fields[dash + 1];
    }
    return {};
}

} // namespace

QString pathOfFieldText(const QString &text)
{
    // Quotes are a name's own here.
    return text;
}

bool isNameText(QStringView path)
{
    bool valid = true;
    withKeptBytes(path, [&valid](QStringView characters) {
        valid = valid && characters.isValidUtf16();
        return QByteArray();
    });
    return valid;
}

File::~File()
{
    if (isOpen())
        ::close(int(m_handle));
}

File openForReading(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        raiseOpenFailure(path, errno);
    File file(fd);
    if (S_ISDIR(statusOf(fd, path).st_mode))
        throw RuntimeError(ErrorNumber::IsFolder, path);
    return file;
}

File openExistingForWriting(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        raiseOpenFailure(path, errno);
    return File(fd);
}

FileId identityOf(const File &file, const QString &path)
{
    return idOf(statusOf(int(file.handle()), path));
}

Kind kindOf(const File &file, const QString &path)
{
    return kindOf(statusOf(int(file.handle()), path).st_mode);
}

bool sizeIsReal(const File &file, const QString &path)
{
    struct statfs system { };
    if (::fstatfs(int(file.handle()), &system) != 0)
        raise(path);
    return !madeUpByTheKernel(system);
}

FileStamp stampOf(const File &file, const QString &path)
{
    const struct stat status = statusOf(int(file.handle()), path);
    const auto nanoseconds = [](const timespec &time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {qint64(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

qint64 freeSpaceIn(const QString &folder)
{
    struct statvfs system { };
    if (::statvfs(encoded(folder).constData(), &system) != 0)
        return -1;
    // Saturated: no file system holds more than a qint64 counts anyway.
    constexpr auto kMost = quint64(std::numeric_limits<qint64>::max());
    if (system.f_frsize > 0 && system.f_bavail > kMost / system.f_frsize)
        return std::numeric_limits<qint64>::max();
    return qint64(system.f_bavail * system.f_frsize);
}

void allowOpenFiles(qint64 count)
{
    struct rlimit limit { };
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        rlim_t(count) <= limit.rlim_cur)
        return;
    limit.rlim_cur =
        limit.rlim_max == RLIM_INFINITY ? rlim_t(count) : std::min(rlim_t(count), limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

bool inSystemFolder(const QString &path)
{
    // From the name's own bytes: a current folder whose name is not UTF-8
    // would not survive being turned into text and back.
    const QByteArray folder = splitLast(encoded(path)).first;
    struct statfs system { };
    struct stat status { };
    if (::statfs(folder.constData(), &system) != 0 || ::stat(folder.constData(), &status) != 0)
        return false;
    // devtmpfs calls itself tmpfs; only the mount table tells /dev from /tmp.
    return madeUpByTheKernel(system) || mountTypeOf(status.st_dev) == "devtmpfs";
}

qsizetype readSome(const File &file, char *buffer, qsizetype length, const QString &path)
{
    for (;;) {
        const ssize_t got = ::read(int(file.handle()), buffer, size_t(length));
        if (got >= 0) {
            afterRead(path, got);
            return got;
        }
        if (errno != EINTR)
            raise(path);
    }
}

void rewind(const File &file, const QString &path)
{
    if (::lseek(int(file.handle()), 0, SEEK_SET) < 0)
        raise(path);
}

void writeAll(const File &file, const char *data, qsizetype length, const QString &path)
{
    while (length > 0) {
        const ssize_t wrote = ::write(int(file.handle()), data, size_t(length));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            raise(path, ErrorNumber::DeviceIo, wrote == 0 ? ENOSPC : errno);
        data += wrote;
        length -= wrote;
    }
}

void syncFile(const File &file, const QString &path)
{
    if (::fsync(int(file.handle())) != 0)
        raise(path);
}

void startWriteBack(const File &file, qint64 offset, qint64 length)
{
    ::sync_file_range(int(file.handle()), offset, length, SYNC_FILE_RANGE_WRITE);
}

} // namespace tamrivel::platform
