#pragma once

#include "runtime/runtime_error.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Everything the engine needs of the operating system, in one place: one
// implementation file per platform, chosen by the build. Every failure is
// raised as a RuntimeError whose number comes from the call that failed and
// which names the path the user gave.
namespace tamrivel::platform {

// Which file an open file or a resolved name is, whatever it was called.
struct FileId {
    quint64 volume = 0;
    quint64 index = 0;
    bool operator==(const FileId &) const = default;
};

// An open file, closed when the object goes.
class File {
public:
    File() = default;
    explicit File(qintptr handle) : m_handle(handle) { }
    File(File &&other) noexcept : m_handle(other.release()) { }
    File &operator=(File &&other) noexcept
    {
        if (this != &other) {
            File old(release());
            m_handle = other.release();
        }
        return *this;
    }
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    // A failed open gives -1 on every platform (INVALID_HANDLE_VALUE too).
    bool isOpen() const { return m_handle != kNoHandle; }
    qintptr handle() const { return m_handle; }
    qintptr release() { return std::exchange(m_handle, kNoHandle); }

private:
    qintptr m_handle = kNoHandle;
    static constexpr qintptr kNoHandle = -1;
};

enum class Kind { Missing, Regular, Folder, Other };

// An existing file opened for reading. A folder is refused as IsFolder.
File openForReading(const QString &path);
// An existing file that cannot be replaced (a FIFO, a device), to write in place.
File openExistingForWriting(const QString &path);
FileId identityOf(const File &file, const QString &path);
Kind kindOf(const File &file, const QString &path);
// False where the size the system reports says nothing of what a read
// yields: the files of kernel and process folders (procfs, sysfs and the
// like) show 0 or a page whatever they hold.
bool sizeIsReal(const File &file, const QString &path);
// What writing to a file changes: its size and its times, to the finest step
// the system keeps.
struct FileStamp {
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0; // metadata; the same as `modified` where the system has no such time
    bool operator==(const FileStamp &) const = default;
};
FileStamp stampOf(const File &file, const QString &path);
// Bytes that a file written into `folder` may still take on its file system,
// or -1 where the system cannot tell.
qint64 freeSpaceIn(const QString &folder);
// Lets this process hold at least `count` files open at once, where the
// system's hard limit allows; a hint, as a later open reports what fails.
void allowOpenFiles(qint64 count);
// True when the folder of `path`, as written, holds the system's devices or
// its kernel and process files rather than the user's.
bool inSystemFolder(const QString &path);

// Up to `length` bytes; 0 only at the end of the file.
qsizetype readSome(const File &file, char *buffer, qsizetype length, const QString &path);
// All of `length` bytes.
void writeAll(const File &file, const char *data, qsizetype length, const QString &path);
// The bytes and the metadata on the disk.
void syncFile(const File &file, const QString &path);
// Asks the system to start writing these bytes to the disk now, so that the
// disk works while the rest is computed and the sync finds little left. A
// hint: it fails quietly where the file or the system has no such thing.
void startWriteBack(const File &file, qint64 offset, qint64 length);

// Where an output will really be written: its folder and the final name in
// it, with every link followed once, here, so that the check for sameness and
// the write see exactly the same file.
struct ResolvedOutput {
    QString userPath; // as given, for messages
    // Windows: absolute, links resolved. POSIX: as reached from the current
    // folder, for messages; the files are reached through openFolder.
    QString folder;
    std::shared_ptr<const File> openFolder; // POSIX: the folder, held open
    QString name; // the last component, no links left
    Kind kind = Kind::Missing;
    FileId id; // of the existing file
    FileId folderId;
    bool foldsCase = false; // names in the folder compare case-insensitively
};

// Raises BadFileName for a name whose links cannot be resolved (a loop, too
// long a chain), AccessDenied for a link that a shared, sticky folder's rules
// forbid following, FolderNotFound when the folder is missing.
ResolvedOutput resolveOutput(const QString &path);

// A new file being written beside an output, invisible to the user as far as
// the platform allows (unnamed where it can be), holding the old file's mode
// and, where the caller may set them, its owner and group. Removed unless it
// is put in place.
class PendingFile {
public:
    explicit PendingFile(const ResolvedOutput &target);
    ~PendingFile();
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    const File &file() const { return m_file; }
    const ResolvedOutput &target() const { return m_target; }
    // The new file's identity, which it keeps when it is put in place.
    const FileId &id() const { return m_id; }

    // Bytes and metadata to the disk (nothing can fail for lack of space
    // after this).
    void prepare();
    // Gives the file the hidden name it needs to be swapped in, where it
    // needs one, so that placing is one quick step per output.
    void stage();
    // Puts the new file in the target's place. Afterwards the old file (if
    // any) lives on under the hidden name until finish() or undo(). A name
    // that had no file when resolved and has one of `placedByThisRun` now is
    // another name for an output of this run (a short name, a server that
    // folds names): NameTaken is raised, and the name left as it was.
    void place(const std::vector<FileId> &placedByThisRun);
    // Puts the old file back (after place()); false when the system refused
    // (another program holding the new file), and the name is left mixed.
    bool undo() noexcept;
    // Drops the old file for good (after place()).
    void finish() noexcept;

private:
    struct State;
    ResolvedOutput m_target;
    File m_file;
    FileId m_id;
    std::unique_ptr<State> m_state;
};

// What PendingFile::place() found at its target's name instead of the file
// it resolved.
struct NameTaken {
    FileId found;
};

// What a commit does while another run holds a folder it needs: a stop
// request ends the wait (raising Cancelled), and `waiting` hears of each
// pause, with the folder's name.
struct LockWait {
    const std::atomic<bool> *stop = nullptr;
    std::function<void(const QString &folder)> waiting;
};

// Serialises commits into the folder of `output` across processes while it
// lives. Take it once per folder (by folderId): a second lock of the same
// folder would wait for the first.
class FolderLock {
public:
    FolderLock(const ResolvedOutput &output, const LockWait &wait);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    File m_lock;
};

// Removes what runs that died left beside their outputs in the folder of
// `output` (a file system where the system cannot delete a file when its
// process dies, a power cut); never what a live run holds. Quietly does
// what it can: it is tidying, not the job asked for.
void removeDeadRunsFiles(const ResolvedOutput &output) noexcept;

// Makes the folder's entries durable, so a power cut cannot bring back the
// old names. Silently does nothing where the platform cannot.
void syncFolder(const ResolvedOutput &output);

} // namespace tamrivel::platform
