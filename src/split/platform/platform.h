#pragma once

#include "runtime/runtime_error.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <tuple>
#include <utility>

// The files the engine reads and writes: opening, reading, writing, identity
// and what their file systems can hold. One implementation file per platform,
// chosen by the build; the outputs' replacement and the console have their
// own. Every failure is raised as a RuntimeError whose number comes from the
// call that failed and which names the path the user gave.
namespace tamrivel::platform {

// Which file an open file or a resolved name is, whatever it was called.
struct FileId {
    quint64 volume = 0;
    quint64 index = 0;
    quint64 indexHigh = 0; // of a 128-bit id (ReFS); 0 elsewhere
    // Where the file system numbers a file afresh when it is renamed (FAT),
    // the path the system resolves for it, case folded; empty elsewhere.
    QString path;

    bool operator==(const FileId &) const = default;
    bool operator<(const FileId &other) const
    {
        return std::tie(volume, index, indexHigh, path) <
            std::tie(other.volume, other.index, other.indexHigh, other.path);
    }
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

// The path that text typed or pasted into a field names. On Windows,
// Explorer's "Copy as path" wraps it in double quotes, which no name can
// hold: one pair, and blanks outside it, are dropped there.
QString pathOfFieldText(const QString &text);

// False for text that no name of this system can be: malformed UTF-16. On
// POSIX a lone surrogate from U+DC80 to U+DCFF stands for a byte of a name
// that is not UTF-8, and is a name's own.
bool isNameText(QStringView path);

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
// Back to the start of a file (not a stream), to read it again.
void rewind(const File &file, const QString &path);
// All of `length` bytes.
void writeAll(const File &file, const char *data, qsizetype length, const QString &path);
// The bytes and the metadata on the disk.
void syncFile(const File &file, const QString &path);
// Asks the system to start writing these bytes to the disk now, so that the
// disk works while the rest is computed and the sync finds little left. A
// hint: it fails quietly where the file or the system has no such thing.
void startWriteBack(const File &file, qint64 offset, qint64 length);

} // namespace tamrivel::platform
