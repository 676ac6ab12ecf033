#include "split/platform/fault_hook.h"
#include "split/platform/files_windows.h"
#include "split/platform/replacement.h"
#include "split/platform/run_files.h"

#include <QElapsedTimer>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tamrivel::platform {

using namespace win32;

namespace {

// A file name's own limit on NTFS and FAT: the hidden names must fit in it.
constexpr qsizetype kMaxComponent = 255;

// For looking at a file or folder, not reading it: no other program's
// sharing rules stand in the way.
File openToLook(const QString &path)
{
    return File(qintptr(::CreateFileW(wide(longForm(path)), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
}

// Whatever the folder entry at `full` (in the long form) is now; nothing for
// an entry that has gone.
FileId idOfEntry(const QString &full)
{
    const File look(qintptr(::CreateFileW(
        wide(full), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    BY_HANDLE_FILE_INFORMATION info{};
    return look.isOpen() && informationOf(look, info) ? idOf(look, info) : FileId{};
}

// The full path an output is written to, refused where it names no file
// that could be.
QString outputPath(const QString &path)
{
    // Written as a device, a device is what the user asked for; a name that
    // is one only by Windows' rules would send a chip image to a port and
    // report a file that nobody can open.
    if (const QString device = fullPath(path); takenForDevice(path, device))
        throw RuntimeError(
            ErrorNumber::BadFileName, path,
            RuntimeError::tr("(a Windows device name; to write to the device, give %1)").arg(device));
    const QString full = filePath(path);
    const QString name = splitLast(full).second;
    if (name.isEmpty())
        throw RuntimeError(ErrorNumber::IsFolder, path);
    if (name.size() > kMaxComponent)
        throw RuntimeError(ErrorNumber::BadFileName, path);
    return full;
}

// What an output's name holds now, and where it is written: an existing file
// where its links lead, under the name it already has; anything else where
// it is named.
struct Existing {
    Kind kind = Kind::Missing;
    FileId id;
    QString where;
};

Existing existingAt(const QString &full, const QString &path)
{
    const File existing = openToLook(full);
    if (!existing.isOpen()) {
        // Which part of the folder is missing, if any, the folder's own look tells.
        if (const DWORD err = ::GetLastError(); err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND)
            raise(path, ErrorNumber::AccessDenied, err);
        return {Kind::Missing, {}, full};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    // A device ("NUL", "COM1") or a pipe: written where it is.
    if (!isDisk(existing) || !informationOf(existing, info))
        return {Kind::Other, deviceId(full), full};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw RuntimeError(ErrorNumber::IsFolder, path);
    return {Kind::Regular, idOf(existing, info), finalPathOf(existing, full)};
}

// The folder an output goes into, open to be looked at.
struct LookedAtFolder {
    File file;
    FileId id;
};

LookedAtFolder outputFolder(const QString &folder, const QString &path)
{
    File file = openToLook(folder);
    if (!file.isOpen()) {
        const DWORD err = ::GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            throw RuntimeError(ErrorNumber::FolderNotFound, path);
        raise(path, ErrorNumber::FolderNotFound, err);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!informationOf(file, info))
        raise(path, ErrorNumber::FolderNotFound);
    // "rom.bin\out.bin": a path through a file names nothing that can be.
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(ErrorNumber::BadFileName, path);
    const FileId id = idOf(file, info);
    return {std::move(file), id};
}

// Recognisably ours and kept short enough to be a valid name.
QString hiddenName(const QString &name)
{
    const QString tail = runFileTail();
    return u'.' + name.left(kMaxComponent - 1 - tail.size()) + tail;
}

// Whether only this machine writes into the folder: on a share, another
// machine's run may be between steps where it holds nothing, unseen here.
bool onlyThisMachineWrites(const QString &folder)
{
    std::wstring volume(folder.size() + 2, L'\0');
    if (!::GetVolumePathNameW(wide(folder), volume.data(), DWORD(volume.size())))
        return false;
    const UINT type = ::GetDriveTypeW(wide(plainForm(QString::fromWCharArray(volume.c_str()))));
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK;
}

// Removes a file of ours that no program has open: its run has ended. A
// live run keeps its new file open, sharing it with no remover, until the
// moment it is placed under the folder's lock; whatever cannot be had alone
// is left as it is.
void removeIfUnheld(const QString &path)
{
    const File file(qintptr(::CreateFileW(wide(path), DELETE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.isOpen() || !informationOf(file, info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return;
    // A read-only old file would refuse to go.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    ::SetFileInformationByHandle(handleOf(file), FileBasicInfo, &basic, sizeof basic);
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(handleOf(file), FileDispositionInfo, &disposition, sizeof disposition);
}

// True when another program holds `path` open so that it can be neither
// renamed nor replaced.
bool heldElsewhere(const QString &path)
{
    const File probe(qintptr(
        ::CreateFileW(wide(path), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    return !probe.isOpen() && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// How long another program's hold on a file, or a lock file being deleted,
// is waited out: a virus scanner or an indexer lets go well within it.
constexpr qint64 kBriefHoldMs = 2000;

// A virus scanner or the search indexer opens a file for a moment, just as
// it may be put in place: a step that another program's open file stops is
// tried again after pauses growing to a quarter second, for about two
// seconds in all. A program that keeps the file open (programmer software
// keeps its last image) outlasts them.
class InUseRetry {
public:
    InUseRetry(const CommitWaits &waits, const QString &output) : m_waits(waits), m_output(output)
    {
        m_clock.start();
    }

    // False once the time is up.
    bool pause()
    {
        if (m_clock.elapsed() >= kBriefHoldMs)
            return false;
        if (m_waits.stop && m_waits.stop->load())
            throw RuntimeError(ErrorNumber::Cancelled);
        if (m_waits.inUse)
            m_waits.inUse(m_output);
        ::Sleep(m_pauseMs);
        m_pauseMs = std::min<DWORD>(2 * m_pauseMs, kLongestPauseMs);
        return true;
    }

private:
    static constexpr DWORD kLongestPauseMs = 250;
    const CommitWaits &m_waits;
    QString m_output;
    QElapsedTimer m_clock;
    DWORD m_pauseMs = 10;
};

bool setDeleteOnClose(const File &file, bool remove)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove;
    return ::SetFileInformationByHandle(handleOf(file), FileDispositionInfo, &disposition,
                                        sizeof disposition);
}

} // namespace

ResolvedOutput resolveOutput(const QString &path)
{
    ResolvedOutput out;
    out.userPath = path;
    // NTFS, FAT and exFAT all fold case for Windows programs.
    out.foldsCase = true;
    const QString full = outputPath(path);
    const Existing existing = existingAt(full, path);
    out.kind = existing.kind;
    out.id = existing.id;
    std::tie(out.folder, out.name) = splitLast(existing.where);
    if (out.kind == Kind::Other)
        return out;
    const LookedAtFolder folder = outputFolder(out.folder, path);
    // A new output goes where the folder's links lead, as an old one does.
    if (out.kind == Kind::Missing)
        out.folder = finalPathOf(folder.file, out.folder);
    out.folderId = folder.id;
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
    m_id = idOf(m_file, info);
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
    // nothing of ours holds it when it moves. Unheld from here, it is placed
    // under the folder's lock, which a run takes before it tidies.
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

void PendingFile::place(const std::vector<FileId> &placedByThisRun, const CommitWaits &waits)
{
    beforeReplacementStep(ReplacementStep::Place, m_target.userPath);
    State &s = *m_state;
    // One try: ERROR_SUCCESS, or the system's code.
    const auto tryPlacing = [&]() -> DWORD {
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
                return ERROR_SUCCESS;
            }
            const DWORD err = ::GetLastError();
            if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS)
                return err;
        }
        refuseOurOwn();
        // The old file keeps its name's case, security and attributes for the new
        // one, and stays under a hidden name until finish() or undo().
        s.backup = joined(splitLast(s.target).first, hiddenName(m_target.name));
        if (::ReplaceFileW(wide(s.target), wide(s.hidden), wide(s.backup),
                           REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            s.placed = true;
            return ERROR_SUCCESS;
        }
        const DWORD err = ::GetLastError();
        // Gone since it was resolved: the new file simply appears.
        if (err == ERROR_FILE_NOT_FOUND &&
            ::MoveFileExW(wide(s.hidden), wide(s.target), MOVEFILE_WRITE_THROUGH)) {
            s.backup.clear();
            s.created = true;
            s.placed = true;
            return ERROR_SUCCESS;
        }
        // Half done: the old file has its backup name, the new one never moved.
        if (err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            ::MoveFileExW(wide(s.backup), wide(s.target), MOVEFILE_WRITE_THROUGH);
        s.backup.clear();
        return err;
    };
    for (InUseRetry retry(waits, m_target.userPath);;) {
        const DWORD err = tryPlacing();
        if (err == ERROR_SUCCESS)
            break;
        const bool held = err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION ||
            heldElsewhere(s.target) || heldElsewhere(s.hidden);
        if (!held)
            raise(m_target.userPath, ErrorNumber::AccessDenied, err);
        if (!retry.pause())
            throw RuntimeError(ErrorNumber::FileInUse, m_target.userPath);
    }
    // Where the file system numbers a file afresh on a rename, the new
    // number is the one a later name of this run must not reach.
    if (const FileId placed = idOfEntry(s.target); placed != FileId{})
        m_id = placed;
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

FolderLock::FolderLock(const ResolvedOutput &output, const CommitWaits &wait)
{
    // A hidden file in the folder, open with no sharing while the lock
    // lives: another run's open of it fails whoever and wherever that run
    // is (another user's session, another PC writing the share) until this
    // one closes it. The system deletes it then; one that a power cut left
    // is simply taken, as no one holds it.
    const QString path = joined(longForm(output.folder), QStringLiteral(".tamrivel.lock"));
    QElapsedTimer denied;
    constexpr DWORD kPauseMs = 20;
    for (;;) {
        m_lock = File(qintptr(::CreateFileW(wide(path), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr)));
        if (m_lock.isOpen())
            return;
        const DWORD err = ::GetLastError();
        // Being deleted by the run that held it shows as access denied for a
        // moment; a folder that refuses new files says the same for good.
        if (err == ERROR_ACCESS_DENIED && ::GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES) {
            if (!denied.isValid())
                denied.start();
            else if (denied.elapsed() > kBriefHoldMs)
                raise(output.userPath, ErrorNumber::AccessDenied, err);
        } else if (err != ERROR_SHARING_VIOLATION) {
            raise(output.userPath, ErrorNumber::AccessDenied, err);
        }
        if (wait.stop && wait.stop->load())
            throw RuntimeError(ErrorNumber::Cancelled);
        if (wait.waiting)
            wait.waiting(output.folder);
        ::Sleep(kPauseMs);
    }
}

FolderLock::~FolderLock() = default;

void removeDeadRunsFiles(const ResolvedOutput &output) noexcept
{
    const QString folder = longForm(output.folder);
    if (!onlyThisMachineWrites(folder))
        return;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(wide(joined(folder, QStringLiteral(".*.tamrivel-*"))), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<QString> ours;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (isRunFileName(name))
            ours.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const QString &name : ours)
        removeIfUnheld(joined(folder, name));
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

} // namespace tamrivel::platform
