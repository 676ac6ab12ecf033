#include "split/platform/fault_hook.h"
#include "split/platform/files_posix.h"
#include "split/platform/replacement.h"
#include "split/platform/run_files.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tamrivel::platform {

using namespace posix;

namespace {

// Links followed for one name before it counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

// Missing where a folder is looked up, or where a name is made in a folder
// we hold (all names there are ours or the output's): the folder is missing.
[[noreturn]] void raiseInFolder(const QString &path, ErrorNumber fallback, int err = errno)
{
    if (err == ENOENT)
        throw RuntimeError(ErrorNumber::FolderNotFound, path);
    raise(path, fallback, err);
}

// A folder reached from `at` (a folder held open, or the current folder),
// by descriptor, so that no path longer than the system takes is ever built.
File openFolderAt(int at, const QByteArray &folder, const QString &path)
{
    const int fd = ::openat(at, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raiseInFolder(path, ErrorNumber::FolderNotFound);
    return File(fd);
}

// The folder itself, opened again to be locked or synced.
File reopenFolder(const ResolvedOutput &output)
{
    const int fd = ::openat(int(output.openFolder->handle()), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raiseInFolder(output.userPath, ErrorNumber::FolderNotFound);
    return File(fd);
}

// The kernel's protected-symlinks rule: in a sticky folder that anyone may
// write to, a link is followed only if it belongs to the folder's owner or
// to us, so that nobody can plant a link where our output will go.
bool mayFollow(const struct stat &folder, const struct stat &link)
{
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == folder.st_uid || link.st_uid == ::geteuid();
}

bool caseFoldingFileSystem(int folder)
{
    constexpr long kFat = 0x4d44;
    constexpr long kExfat = 0x2011BAB0;
    struct statfs info { };
    return ::fstatfs(folder, &info) == 0 && (info.f_type == kFat || info.f_type == kExfat);
}

QByteArray hiddenName(const QByteArray &name)
{
    return '.' + name + runFileTail().toLatin1();
}

// Locks held by an open file, not by a process: a run in another PID
// namespace on this kernel sees them, and so does this run's own tidying.
bool lockWholeFile(int fd, short type)
{
    struct flock lock { };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Holds a new file of ours for as long as it is open; false when another
// run's tidying took hold of it first and removes it. Where the file system
// keeps no locks, nobody can hold it, and the tidying leaves it alone.
bool holdRunFile(int fd)
{
    return lockWholeFile(fd, F_WRLCK) || (errno != EAGAIN && errno != EACCES);
}

// Whether every run that could be writing into the folder would see our
// locks: a disk that one kernel mounts. A share (NFS, SMB, FUSE, a virtual
// machine's shared folder) may keep them on each client alone.
bool locksReachEveryWriter(int folder)
{
    static constexpr quint32 kLocal[] = {
        0xEF53, // ext2, ext3, ext4
        0x58465342, // XFS
        0x9123683E, // Btrfs
        0xF2F52010, // F2FS
        0x01021994, // tmpfs
        0x858458F6, // ramfs
        0x794C7630, // overlay
        0x4D44, // FAT
        0x2011BAB0, // exFAT
        0x7366746E, // NTFS
    };
    struct statfs info { };
    return ::fstatfs(folder, &info) == 0 &&
        std::find(std::begin(kLocal), std::end(kLocal), quint32(info.f_type)) != std::end(kLocal);
}

// Removes a regular file of ours that nobody holds: its run has ended. The
// hold taken here makes a run that is only now creating it give it up.
void removeIfUnheld(int folder, const char *name)
{
    struct stat named { };
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode))
        return;
    const File file(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat held { };
    if (!file.isOpen() || ::fstat(int(file.handle()), &held) != 0 || idOf(held) != idOf(named) ||
        !lockWholeFile(int(file.handle()), F_RDLCK))
        return;
    ::unlinkat(folder, name, 0);
}

} // namespace

ResolvedOutput resolveOutput(const QString &path)
{
    ResolvedOutput out;
    out.userPath = path;
    auto [folder, name] = splitLast(encoded(path));
    File folderFile = openFolderAt(AT_FDCWD, folder, path);
    for (int hops = 0;; ++hops) {
        if (name.isEmpty() || name == "." || name == "..")
            throw RuntimeError(ErrorNumber::IsFolder, path);
        const int dirFd = int(folderFile.handle());
        const struct stat folderStatus = statusOf(dirFd, path);
        struct stat status { };
        if (::fstatat(dirFd, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                raise(path);
            out.kind = Kind::Missing;
        } else if (S_ISLNK(status.st_mode)) {
            if (hops == kMaxLinkHops)
                raise(path, ErrorNumber::BadFileName, ELOOP);
            if (!mayFollow(folderStatus, status))
                raise(path, ErrorNumber::AccessDenied, EACCES);
            QByteArray target(qsizetype(status.st_size > 0 ? status.st_size : PATH_MAX), '\0');
            const ssize_t length =
                ::readlinkat(dirFd, name.constData(), target.data(), size_t(target.size()));
            if (length < 0)
                raise(path);
            target.truncate(length);
            // A relative target is read from the link's own folder.
            auto [linkFolder, linkName] = splitLast(target);
            if (target.contains('/')) {
                folderFile = openFolderAt(dirFd, linkFolder, path);
                folder = target.startsWith('/') ? linkFolder : folder + '/' + linkFolder;
            }
            name = linkName;
            continue;
        } else {
            out.kind = kindOf(status.st_mode);
            out.id = idOf(status);
        }
        if (out.kind == Kind::Folder)
            throw RuntimeError(ErrorNumber::IsFolder, path);
        out.folder = decoded(folder);
        out.name = decoded(name);
        out.folderId = idOf(folderStatus);
        out.foldsCase = caseFoldingFileSystem(dirFd);
        out.openFolder = std::make_shared<const File>(std::move(folderFile));
        return out;
    }
}

struct PendingFile::State {
    File folder;
    QByteArray name; // the target's, in the folder
    QByteArray hidden; // ours, while it has a name
    QByteArray backup; // the old file, where it could not be swapped
    File old; // held, so that removing its name is quick and freeing it waits
    bool named = false;
    bool placed = false;
    bool swapped = false;
    bool created = false;
};

PendingFile::PendingFile(const ResolvedOutput &target) : m_target(target), m_state(std::make_unique<State>())
{
    State &s = *m_state;
    s.name = encoded(target.name);
    s.folder = reopenFolder(target);
    const int dirFd = int(s.folder.handle());

    int fd = -1;
    const bool unnamed = !namedTemporariesWanted();
    if (unnamed)
        fd = ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && unnamed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        raiseInFolder(target.userPath, ErrorNumber::AccessDenied);
    if (fd < 0) {
        // Named, but hidden and recognisably ours; removed on every error we see.
        for (;;) {
            s.hidden = hiddenName(s.name);
            fd = ::openat(dirFd, s.hidden.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
                raiseInFolder(target.userPath, ErrorNumber::AccessDenied);
            if (holdRunFile(fd))
                break;
            ::close(fd);
        }
        s.named = true;
    }
    m_file = File(fd);
    m_id = identityOf(m_file, target.userPath);

    struct stat old { };
    if (target.kind == Kind::Regular &&
        ::fstatat(dirFd, s.name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        // Owner first: changing it clears the set-ID bits that the mode then
        // restores. Only root may give a file away; others keep the group
        // where they belong to it.
        if (::fchown(fd, ::geteuid() == 0 ? old.st_uid : uid_t(-1), old.st_gid) != 0 && ::geteuid() == 0)
            raise(target.userPath, ErrorNumber::AccessDenied);
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            raise(target.userPath, ErrorNumber::AccessDenied);
    }
}

PendingFile::~PendingFile()
{
    State &s = *m_state;
    if (s.named && !s.placed)
        ::unlinkat(int(s.folder.handle()), s.hidden.constData(), 0);
}

void PendingFile::prepare()
{
    beforeReplacementStep(ReplacementStep::Sync, m_target.userPath);
    syncFile(m_file, m_target.userPath);
}

namespace {

// Gives an unnamed file the name `name` in the folder; false if it is taken.
bool linkUnnamed(const File &file, int dirFd, const QByteArray &name, const QString &path)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.handle());
    if (::linkat(AT_FDCWD, self.constData(), dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST)
        raiseInFolder(path, ErrorNumber::AccessDenied);
    return false;
}

// The identity of whatever the folder's entry `name` is now; nothing for an
// entry that has gone.
FileId idAt(int dirFd, const char *name, const QString &path)
{
    struct stat status { };
    if (::fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) == 0)
        return idOf(status);
    if (errno != ENOENT)
        raise(path, ErrorNumber::AccessDenied);
    return {};
}

} // namespace

void PendingFile::stage()
{
    State &s = *m_state;
    if (m_target.kind == Kind::Regular)
        s.old = File(::openat(int(s.folder.handle()), s.name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (s.named || m_target.kind == Kind::Missing)
        return;
    do
        s.hidden = hiddenName(s.name);
    while (!linkUnnamed(m_file, int(s.folder.handle()), s.hidden, m_target.userPath));
    s.named = true;
}

void PendingFile::place(const std::vector<FileId> &placedByThisRun, const CommitWaits &)
{
    beforeReplacementStep(ReplacementStep::Place, m_target.userPath);
    State &s = *m_state;
    const int dirFd = int(s.folder.handle());
    const char *name = s.name.constData();
    // A new output simply appears, whole. A name taken since it was resolved,
    // or whose old file has changed, is swapped like any other, unless it is
    // now another name for a file this run has just placed (a server that
    // folds names).
    const auto refuseOurOwn = [&] {
        const FileId there = idAt(dirFd, name, m_target.userPath);
        if (std::find(placedByThisRun.begin(), placedByThisRun.end(), there) != placedByThisRun.end())
            throw NameTaken{there};
    };
    if (!s.named) {
        if (linkUnnamed(m_file, dirFd, s.name, m_target.userPath)) {
            s.created = s.placed = true;
            return;
        }
        refuseOurOwn();
        do
            s.hidden = hiddenName(s.name);
        while (!linkUnnamed(m_file, dirFd, s.hidden, m_target.userPath));
        s.named = true;
    } else {
        refuseOurOwn();
    }
    const char *hidden = s.hidden.constData();
    // Swapped atomically where the file system can, so the old file is never
    // absent; otherwise set aside under a hidden name, then replaced.
    if (::renameat2(dirFd, hidden, dirFd, name, RENAME_EXCHANGE) == 0) {
        s.swapped = true;
    } else if (errno == ENOENT && ::renameat2(dirFd, hidden, dirFd, name, RENAME_NOREPLACE) == 0) {
        s.created = true;
    } else if (errno == EINVAL || errno == ENOSYS) {
        s.backup = hiddenName(s.name);
        const bool hadOld = ::renameat(dirFd, name, dirFd, s.backup.constData()) == 0;
        if (!hadOld && errno != ENOENT)
            raiseInFolder(m_target.userPath, ErrorNumber::AccessDenied);
        if (::renameat(dirFd, hidden, dirFd, name) != 0) {
            const int err = errno;
            if (hadOld)
                ::renameat(dirFd, s.backup.constData(), dirFd, name);
            raiseInFolder(m_target.userPath, ErrorNumber::AccessDenied, err);
        }
        if (!hadOld)
            s.backup.clear();
        s.created = !hadOld;
    } else {
        raiseInFolder(m_target.userPath, ErrorNumber::AccessDenied);
    }
    s.placed = true;
}

bool PendingFile::undo() noexcept
{
    State &s = *m_state;
    const int dirFd = int(s.folder.handle());
    bool restored = true;
    if (s.swapped) {
        restored = ::renameat2(dirFd, s.hidden.constData(), dirFd, s.name.constData(), RENAME_EXCHANGE) == 0;
        if (restored)
            ::unlinkat(dirFd, s.hidden.constData(), 0);
    } else if (!s.backup.isEmpty()) {
        restored = ::renameat(dirFd, s.backup.constData(), dirFd, s.name.constData()) == 0;
    } else if (s.created) {
        restored = ::unlinkat(dirFd, s.name.constData(), 0) == 0;
    }
    s.placed = false;
    s.named = false;
    return restored;
}

void PendingFile::finish() noexcept
{
    State &s = *m_state;
    const int dirFd = int(s.folder.handle());
    if (s.swapped)
        ::unlinkat(dirFd, s.hidden.constData(), 0);
    else if (!s.backup.isEmpty())
        ::unlinkat(dirFd, s.backup.constData(), 0);
}

FolderLock::FolderLock(const ResolvedOutput &output, const CommitWaits &wait) : m_lock(reopenFolder(output))
{
    // Polled rather than waited for, so that a stop request ends the wait.
    // Advisory: where the file system has no locks, commits just go
    // unserialised.
    constexpr auto kPause = std::chrono::milliseconds(20);
    const int fd = int(m_lock.handle());
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
        if (wait.stop && wait.stop->load())
            throw RuntimeError(ErrorNumber::Cancelled);
        if (wait.waiting)
            wait.waiting(output.folder);
        std::this_thread::sleep_for(kPause);
    }
}

FolderLock::~FolderLock() = default;

void removeDeadRunsFiles(const ResolvedOutput &output) noexcept
{
    const int folder = int(output.openFolder->handle());
    if (!locksReachEveryWriter(folder))
        return;
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *entries = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return;
    }
    std::vector<QByteArray> ours;
    while (const dirent *entry = ::readdir(entries)) {
        if (isRunFileName(decoded(entry->d_name)))
            ours.emplace_back(entry->d_name);
    }
    ::closedir(entries);
    for (const QByteArray &name : ours)
        removeIfUnheld(folder, name.constData());
}

void syncFolder(const ResolvedOutput &output)
{
    const File folder = reopenFolder(output);
    if (::fsync(int(folder.handle())) != 0 && errno != EINVAL && errno != EROFS)
        raise(output.userPath);
}

} // namespace tamrivel::platform
