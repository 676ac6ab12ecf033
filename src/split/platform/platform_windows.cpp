#include "split/platform/fault_hook.h"
#include "split/platform/platform.h"
#include "split/platform/run_files.h"
#include "split/process.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <io.h>
#include <windows.h>

namespace tamrivel::platform {
namespace {

// One ReadFile or WriteFile moves at most this much (its count is 32-bit).
constexpr qsizetype kMaxTransfer = qsizetype(1) << 30;
// A file name's own limit on NTFS and FAT: the hidden names must fit in it.
constexpr qsizetype kMaxComponent = 255;

ErrorNumber fromWin32(DWORD err, ErrorNumber fallback)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND: return ErrorNumber::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ErrorNumber::FolderNotFound;
    // Programmer software keeps its images open: that the file is busy, not
    // forbidden, tells the user to close the other program.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return ErrorNumber::FileInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return ErrorNumber::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return ErrorNumber::DiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_IO_DEVICE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NO_DATA:
    case ERROR_BROKEN_PIPE: return ErrorNumber::DeviceIo;
    case ERROR_TOO_MANY_OPEN_FILES: return ErrorNumber::TooManyOpenFiles;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME: return ErrorNumber::BadFileName;
    default: return fallback;
    }
}

[[noreturn]] void raise(const QString &path, ErrorNumber fallback, DWORD err)
{
    throw RuntimeError(fromWin32(err, fallback), path);
}

[[noreturn]] void raise(const QString &path, ErrorNumber fallback = ErrorNumber::DeviceIo)
{
    raise(path, fallback, ::GetLastError());
}

HANDLE handleOf(const File &file)
{
    return reinterpret_cast<HANDLE>(file.handle());
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

// The absolute path that Windows' own rules make of what the user wrote:
// "\" or "/", relative to the current folder or to a drive's own ("C:rom.bin"),
// "." and "..", trailing dots and spaces dropped.
QString fullPath(const QString &path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(wide(path), DWORD(full.size()), full.data(), nullptr);
        if (length == 0)
            raise(path, ErrorNumber::BadFileName);
        if (length < full.size())
            return QString::fromWCharArray(full.data(), qsizetype(length));
        full.resize(length);
    }
}

// What the file calls take: a full path behind "\\?\", which lifts the limit
// of 260 characters (and turns off all rewriting, hence full paths only).
QString longForm(const QString &full)
{
    if (full.startsWith(u"\\\\?\\") || full.startsWith(u"\\\\.\\"))
        return full;
    if (full.startsWith(u"\\\\"))
        return QStringLiteral("\\\\?\\UNC\\") + full.mid(2);
    return QStringLiteral("\\\\?\\") + full;
}

// The reverse, for names that users see.
QString plainForm(const QString &path)
{
    if (path.startsWith(u"\\\\?\\UNC\\"))
        return QStringLiteral("\\\\") + path.mid(8);
    if (path.startsWith(u"\\\\?\\"))
        return path.mid(4);
    return path;
}

// The folder of a full path and its last component; a drive's root keeps
// its backslash ("C:" alone would mean the current folder on C:).
std::pair<QString, QString> splitLast(const QString &full)
{
    const qsizetype cut = full.lastIndexOf(u'\\');
    QString folder = full.left(cut);
    if (folder.endsWith(u':'))
        folder += u'\\';
    return {folder, full.mid(cut + 1)};
}

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

bool isDeviceForm(const QString &path)
{
    return path.startsWith(u"\\\\.\\") || path.startsWith(u"//./");
}

// True for a name that Windows' own rules make a device ("NUL", "com1.bin",
// "CONOUT$", in any folder) though it was not written as one ("\\.\COM1").
// Asked of the text alone (`full` is what fullPath made of it): finding out
// must never open a serial port.
bool takenForDevice(const QString &path, const QString &full)
{
    return !isDeviceForm(path) && full.startsWith(u"\\\\.\\");
}

// The folder part of a name as typed, and its last component.
std::pair<QString, QString> splitTyped(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut >= 0)
        return {path.left(cut + 1), path.mid(cut + 1)};
    if (path.size() >= 2 && path.at(1) == u':')
        return {path.left(2), path.mid(2)};
    return {QStringLiteral("."), path};
}

// The full path of the file a name stands for. A name that Windows takes for
// a device stays the file of that name in its folder (one copied from a FAT
// stick or a share), reached through the long form, which has no devices.
// A ":" after the name would reach a stream inside another file: refused.
QString filePath(const QString &path)
{
    QString full = fullPath(path);
    if (takenForDevice(path, full)) {
        auto [folder, name] = splitTyped(path);
        while (name.endsWith(u'.') || name.endsWith(u' '))
            name.chop(1);
        full = joined(fullPath(folder), name);
    }
    if (!isDeviceForm(full) && splitLast(full).second.contains(u':'))
        throw RuntimeError(ErrorNumber::BadFileName, path);
    return full;
}

QString nativePath(const QString &path)
{
    return longForm(filePath(path));
}

// For looking at a file or folder, not reading it: no other program's
// sharing rules stand in the way.
File openToLook(const QString &path)
{
    return File(qintptr(::CreateFileW(wide(longForm(path)), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
}

bool isDisk(const File &file)
{
    return ::GetFileType(handleOf(file)) == FILE_TYPE_DISK;
}

bool informationOf(const File &file, BY_HANDLE_FILE_INFORMATION &info)
{
    return ::GetFileInformationByHandle(handleOf(file), &info) != 0;
}

FileId idOf(const BY_HANDLE_FILE_INFORMATION &info)
{
    return FileId{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// Whatever the folder entry at `full` (in the long form) is now; nothing for
// an entry that has gone.
FileId idOfEntry(const QString &full)
{
    const File look(qintptr(::CreateFileW(
        wide(full), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    BY_HANDLE_FILE_INFORMATION info{};
    return look.isOpen() && informationOf(look, info) ? idOf(info) : FileId{};
}

// A console, pipe or device has no file index: it is known by its name.
FileId deviceId(const QString &full)
{
    return FileId{0, quint64(qHash(full.toCaseFolded()))};
}

// Where links and junctions really lead, or the path as given where the
// file system cannot say.
QString finalPathOf(const File &file, const QString &fallback)
{
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handleOf(file), final.data(), DWORD(final.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return fallback;
        if (length < final.size())
            return plainForm(QString::fromWCharArray(final.data(), qsizetype(length)));
        final.resize(length);
    }
}

// Recognisably ours and kept short enough to be a valid name.
QString hiddenName(const QString &name)
{
    const QString tail = runFileTail();
    return u'.' + name.left(kMaxComponent - 1 - tail.size()) + tail;
}

bool processIsAlive(qint64 pid)
{
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    DWORD code = 0;
    const bool running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

bool setDeleteOnClose(const File &file, bool remove)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove;
    return ::SetFileInformationByHandle(handleOf(file), FileDispositionInfo, &disposition,
                                        sizeof disposition);
}

} // namespace

File::~File()
{
    if (isOpen())
        ::CloseHandle(handleOf(*this));
}

File openForReading(const QString &path)
{
    // Others may go on using the file meanwhile, as on other systems. A folder
    // opens too, so that it can be named as the fault.
    File file(qintptr(::CreateFileW(
        wide(nativePath(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file.isOpen())
        raise(path, ErrorNumber::AccessDenied);
    if (kindOf(file, path) == Kind::Folder)
        throw RuntimeError(ErrorNumber::IsFolder, path);
    return file;
}

File openExistingForWriting(const QString &path)
{
    File file(qintptr(::CreateFileW(wide(nativePath(path)), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file.isOpen())
        raise(path, ErrorNumber::AccessDenied);
    return file;
}

FileId identityOf(const File &file, const QString &path)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (informationOf(file, info))
        return idOf(info);
    if (!isDisk(file))
        return deviceId(fullPath(path));
    raise(path);
}

Kind kindOf(const File &file, const QString &path)
{
    if (!isDisk(file))
        return Kind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(file, info))
        raise(path);
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::Regular;
}

bool sizeIsReal(const File &file, const QString &)
{
    // A disk file's size is its own; pipes and consoles are not disk files.
    return isDisk(file);
}

FileStamp stampOf(const File &file, const QString &path)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(file, info))
        raise(path);
    const qint64 written =
        qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    return {qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow), written, written};
}

qint64 freeSpaceIn(const QString &folder)
{
    // The call wants a folder, and a UNC one with its trailing backslash.
    const QString root = joined(nativePath(folder), QString());
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(wide(root), &available, nullptr, nullptr))
        return -1;
    return qint64(std::min<quint64>(available.QuadPart, quint64(std::numeric_limits<qint64>::max())));
}

void allowOpenFiles(qint64)
{
    // Files are kept as handles, never as C run-time descriptors, so the run
    // time's own limit on open files never applies.
}

bool inSystemFolder(const QString &)
{
    // Windows keeps its devices in a namespace of their own, not in a folder.
    return false;
}

qsizetype readSome(const File &file, char *buffer, qsizetype length, const QString &path)
{
    DWORD got = 0;
    if (::ReadFile(handleOf(file), buffer, DWORD(std::min(length, kMaxTransfer)), &got, nullptr)) {
        afterRead(path, qsizetype(got));
        return qsizetype(got);
    }
    const DWORD err = ::GetLastError();
    // A pipe whose writer has gone has simply ended.
    if (err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF)
        return 0;
    raise(path, ErrorNumber::DeviceIo, err);
}

void writeAll(const File &file, const char *data, qsizetype length, const QString &path)
{
    while (length > 0) {
        DWORD wrote = 0;
        if (!::WriteFile(handleOf(file), data, DWORD(std::min(length, kMaxTransfer)), &wrote, nullptr))
            raise(path);
        if (wrote == 0)
            raise(path, ErrorNumber::DeviceIo, ERROR_HANDLE_DISK_FULL);
        data += wrote;
        length -= qsizetype(wrote);
    }
}

void syncFile(const File &file, const QString &path)
{
    if (!::FlushFileBuffers(handleOf(file)))
        raise(path);
}

// Windows has no call to start writing part of a file; FlushFileBuffers at
// the end does all of it.
void startWriteBack(const File &, qint64, qint64)
{
}

ResolvedOutput resolveOutput(const QString &path)
{
    ResolvedOutput out;
    out.userPath = path;
    // NTFS, FAT and exFAT all fold case for Windows programs.
    out.foldsCase = true;
    // Written as a device, a device is what the user asked for; a name that
    // is one only by Windows' rules would send a chip image to a port and
    // report a file that nobody can open.
    if (const QString device = fullPath(path); takenForDevice(path, device))
        throw RuntimeError(
            ErrorNumber::BadFileName, path,
            QStringLiteral("(Windows の装置名です。装置に書くには %1 と指定してください)").arg(device));
    const QString full = filePath(path);
    auto [folder, name] = splitLast(full);
    if (name.isEmpty())
        throw RuntimeError(ErrorNumber::IsFolder, path);
    if (name.size() > kMaxComponent)
        throw RuntimeError(ErrorNumber::BadFileName, path);

    if (const File existing = openToLook(full); existing.isOpen()) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!isDisk(existing) || !informationOf(existing, info)) {
            // A device ("NUL", "COM1") or a pipe: written where it is.
            out.kind = Kind::Other;
            out.id = deviceId(full);
            out.folder = folder;
            out.name = name;
            return out;
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            throw RuntimeError(ErrorNumber::IsFolder, path);
        out.kind = Kind::Regular;
        out.id = idOf(info);
        // Replaced where a link leads, under the name the file already has.
        std::tie(folder, name) = splitLast(finalPathOf(existing, full));
    } else if (const DWORD err = ::GetLastError();
               err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) {
        raise(path, ErrorNumber::AccessDenied, err);
    }
    // Which part of the folder is missing, if any, is told below.

    const File folderFile = openToLook(folder);
    BY_HANDLE_FILE_INFORMATION folderInfo{};
    if (!folderFile.isOpen()) {
        const DWORD err = ::GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            throw RuntimeError(ErrorNumber::FolderNotFound, path);
        raise(path, ErrorNumber::FolderNotFound, err);
    }
    if (!informationOf(folderFile, folderInfo))
        raise(path, ErrorNumber::FolderNotFound);
    // "rom.bin\out.bin": a path through a file names nothing that can be.
    if (!(folderInfo.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(ErrorNumber::BadFileName, path);
    out.folder = out.kind == Kind::Missing ? finalPathOf(folderFile, folder) : folder;
    out.name = name;
    out.folderId = idOf(folderInfo);
    return out;
}

struct PendingFile::State {
    QString target; // the output, in long form
    QString hidden; // the new file while it is ours
    QString backup; // the old file, set aside by place()
    bool placed = false;
    bool created = false;
    bool deletesItself = false;
};

PendingFile::PendingFile(const ResolvedOutput &target) : m_target(target), m_state(std::make_unique<State>())
{
    State &s = *m_state;
    const QString folder = longForm(target.folder);
    s.target = joined(folder, target.name);
    // Windows has no unnamed files: a hidden one, removed on every error.
    do {
        s.hidden = joined(folder, hiddenName(target.name));
        m_file = File(
            qintptr(::CreateFileW(wide(s.hidden), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr)));
    } while (!m_file.isOpen() && ::GetLastError() == ERROR_FILE_EXISTS);
    if (!m_file.isOpen()) {
        const DWORD err = ::GetLastError();
        s.hidden.clear();
        raise(target.userPath, ErrorNumber::AccessDenied, err);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(m_file, info))
        raise(target.userPath, ErrorNumber::AccessDenied);
    m_id = idOf(info);
    // Until stage() keeps it, the system deletes it when its last handle
    // closes, however the process ends. Where the file system cannot, the
    // next run into the folder removes it.
    s.deletesItself = setDeleteOnClose(m_file, true);
}

PendingFile::~PendingFile()
{
    State &s = *m_state;
    m_file = File();
    if (!s.placed && !s.hidden.isEmpty())
        ::DeleteFileW(wide(s.hidden));
}

void PendingFile::prepare()
{
    beforeReplacementStep(ReplacementStep::Sync, m_target.userPath);
    syncFile(m_file, m_target.userPath);
}

void PendingFile::stage()
{
    // Named from the start; kept from here on, made visible (or as hidden as
    // the file it replaces: a system file stays one), and closed, so that
    // nothing of ours holds it when it moves.
    if (m_state->deletesItself && !setDeleteOnClose(m_file, false))
        raise(m_target.userPath, ErrorNumber::AccessDenied);
    m_state->deletesItself = false;
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (m_target.kind == Kind::Regular) {
        const DWORD old = ::GetFileAttributesW(wide(m_state->target));
        if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            basic.FileAttributes = old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    if (!::SetFileInformationByHandle(handleOf(m_file), FileBasicInfo, &basic, sizeof basic))
        raise(m_target.userPath, ErrorNumber::AccessDenied);
    m_file = File();
}

void PendingFile::place(const std::vector<FileId> &placedByThisRun)
{
    beforeReplacementStep(ReplacementStep::Place, m_target.userPath);
    State &s = *m_state;
    // A name taken since it was resolved, or an old file changed since, by
    // another program is replaced like any old file; the short name of a
    // file this run has just placed would be replacing our own output.
    const auto refuseOurOwn = [&] {
        const FileId there = idOfEntry(s.target);
        if (std::find(placedByThisRun.begin(), placedByThisRun.end(), there) != placedByThisRun.end())
            throw NameTaken{there};
    };
    if (m_target.kind == Kind::Missing) {
        if (::MoveFileExW(wide(s.hidden), wide(s.target), MOVEFILE_WRITE_THROUGH)) {
            s.created = true;
            s.placed = true;
            return;
        }
        const DWORD err = ::GetLastError();
        if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS)
            raise(m_target.userPath, ErrorNumber::AccessDenied, err);
    }
    refuseOurOwn();
    // The old file keeps its name's case, security and attributes for the new
    // one, and stays under a hidden name until finish() or undo().
    s.backup = joined(splitLast(s.target).first, hiddenName(m_target.name));
    if (::ReplaceFileW(wide(s.target), wide(s.hidden), wide(s.backup),
                       REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        s.placed = true;
        return;
    }
    const DWORD err = ::GetLastError();
    // Gone since it was resolved: the new file simply appears.
    if (err == ERROR_FILE_NOT_FOUND &&
        ::MoveFileExW(wide(s.hidden), wide(s.target), MOVEFILE_WRITE_THROUGH)) {
        s.backup.clear();
        s.created = true;
        s.placed = true;
        return;
    }
    // Half done: the old file has its backup name, the new one never moved.
    if (err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        ::MoveFileExW(wide(s.backup), wide(s.target), MOVEFILE_WRITE_THROUGH);
    s.backup.clear();
    raise(m_target.userPath, ErrorNumber::AccessDenied, err);
}

bool PendingFile::undo() noexcept
{
    State &s = *m_state;
    if (!s.placed)
        return true;
    bool restored = true;
    if (!s.backup.isEmpty())
        restored =
            ::MoveFileExW(wide(s.backup), wide(s.target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    else if (s.created)
        restored = ::DeleteFileW(wide(s.target));
    s.placed = false;
    s.hidden.clear();
    return restored;
}

void PendingFile::finish() noexcept
{
    State &s = *m_state;
    if (s.backup.isEmpty())
        return;
    // A read-only old file would refuse to go.
    ::SetFileAttributesW(wide(s.backup), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(wide(s.backup));
}

FolderLock::FolderLock(const ResolvedOutput &output, const LockWait &wait)
{
    // A mutex named after the folder's identity, however it is spelt. Local
    // to the session: a global one would shut out other users' programs.
    const FileId id = output.folderId;
    const QString name =
        QStringLiteral("Local\\tamrivel-commit-%1-%2").arg(id.volume, 0, 16).arg(id.index, 0, 16);
    m_lock = File(qintptr(::CreateMutexW(nullptr, FALSE, wide(name))));
    if (handleOf(m_lock) == nullptr) {
        m_lock.release();
        raise(output.userPath, ErrorNumber::AccessDenied);
    }
    // In short waits, so that a stop request ends it. An owner that died
    // without releasing it hands it on all the same.
    constexpr DWORD kPauseMs = 20;
    while (::WaitForSingleObject(handleOf(m_lock), kPauseMs) == WAIT_TIMEOUT) {
        if (wait.stop && wait.stop->load())
            throw RuntimeError(ErrorNumber::Cancelled);
        if (wait.waiting)
            wait.waiting(output.folder);
    }
}

FolderLock::~FolderLock()
{
    ::ReleaseMutex(handleOf(m_lock));
}

void removeDeadRunsFiles(const ResolvedOutput &output) noexcept
{
    const QString folder = longForm(output.folder);
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(wide(joined(folder, QStringLiteral(".*.tamrivel-*"))), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<QString> dead;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        const std::optional<qint64> owner = runFileOwner(name);
        if (owner && !processIsAlive(*owner))
            dead.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const QString &name : dead) {
        const QString path = joined(folder, name);
        // A read-only old file would refuse to go.
        ::SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(wide(path));
    }
}

void syncFolder(const ResolvedOutput &output)
{
    // The renames were written through already; flushing the folder as well
    // works only where the file system allows a folder to be opened for
    // writing, so it is a bonus, never an error.
    const File dir(qintptr(::CreateFileW(wide(longForm(output.folder)), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    if (dir.isOpen())
        ::FlushFileBuffers(handleOf(dir));
}

void turnWriteSignalsIntoErrors()
{
    // Nothing to do: Windows reports a closed pipe or a full disk to the
    // failing write itself, never by a signal.
}

namespace {

std::atomic<std::atomic<bool> *> interruptFlag{nullptr};

BOOL WINAPI onConsoleControl(DWORD event)
{
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    if (!ending && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // Only the first: a second Ctrl+C ends the program the usual way.
    std::atomic<bool> *stop = interruptFlag.exchange(nullptr);
    if (stop)
        stop->store(true);
    // A closed console window, a logoff or a shutdown ends the process as
    // soon as this returns. Held here, the run puts everything back and
    // returns from main, which ends the process and this thread with it;
    // the system's own time limit ends the wait if that takes too long.
    if (ending)
        ::Sleep(INFINITE);
    return stop ? TRUE : FALSE;
}

} // namespace

void stopOnInterrupt(std::atomic<bool> *stop)
{
    interruptFlag = stop;
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool argumentIsFaithful(const char *argument)
{
    // Qt takes the arguments from the UTF-16 command line, not from these
    // bytes, so every name arrives as it was typed.
    Q_UNUSED(argument);
    return true;
}

namespace {

HANDLE handleOf(std::FILE *stream)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
}

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

} // namespace

bool isTerminal(std::FILE *stream)
{
    return isConsole(handleOf(stream));
}

bool writeText(std::FILE *stream, const QString &text)
{
    const HANDLE handle = handleOf(stream);
    if (!isConsole(handle)) {
        const QByteArray bytes = text.toUtf8();
        return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    }
    // A console shows UTF-16 as it is, whatever its code page; what the
    // stream still holds goes first.
    std::fflush(stream);
    constexpr qsizetype kChunk = 8192;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min(kChunk, text.size() - at);
        if (length > 1 && text.at(at + length - 1).isHighSurrogate())
            --length;
        DWORD wrote = 0;
        if (!::WriteConsoleW(handle, text.utf16() + at, DWORD(length), &wrote, nullptr) || wrote == 0)
            return false;
        at += qsizetype(wrote);
    }
    return true;
}

} // namespace tamrivel::platform
