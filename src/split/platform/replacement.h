#pragma once

#include "split/platform/platform.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// How outputs replace the files they are named after, whole or not at all:
// resolved once, written beside the old file, put in place under a lock on
// their folder. One implementation file per platform, chosen by the build.
namespace tamrivel::platform {

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

// What a commit does while it waits: for another run to finish with a
// folder it needs, or for another program to let go of a file it puts in
// place. A stop request ends the wait (raising Cancelled); `waiting` hears
// of each pause for a folder, with its name, and `inUse` of each pause for
// a file held open, with the output's name.
struct CommitWaits {
    const std::atomic<bool> *stop = nullptr;
    std::function<void(const QString &folder)> waiting;
    std::function<void(const QString &output)> inUse;
};

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
    // Where another program holds a file that must move (Windows), the
    // step is tried again for a while, each pause told to `waits`.
    void place(const std::vector<FileId> &placedByThisRun, const CommitWaits &waits);
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

// Serialises commits into the folder of `output` across processes while it
// lives. Take it once per folder (by folderId): a second lock of the same
// folder would wait for the first.
class FolderLock {
public:
    FolderLock(const ResolvedOutput &output, const CommitWaits &wait);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    File m_lock;
};

// Removes what runs that died left beside their outputs in the folder of
// `output` (a file system where the system cannot delete a file when its
// process dies, a power cut): only names of exactly our form that no run
// holds, and nothing where a hold could go unseen (a share). A run holds its
// new files while it lives; the names it gives while placing exist only
// under the folder's lock, taken before this. Quietly does what it can: it
// is tidying, not the job asked for.
void removeDeadRunsFiles(const ResolvedOutput &output) noexcept;

// Makes the folder's entries durable, so a power cut cannot bring back the
// old names. Silently does nothing where the platform cannot.
void syncFolder(const ResolvedOutput &output);

} // namespace tamrivel::platform
