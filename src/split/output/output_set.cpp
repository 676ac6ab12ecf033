#include "split/output/output_set.h"

#include "split/input/input_file.h"
#include "split/input/path_checks.h"
#include "split/stream/native_device.h"
#include "split/usage_error.h"

#include <limits>
#include <map>
#include <set>
#include <tuple>

namespace tamrivel {
namespace {

// Files take whole blocks, and 4 KiB is the most common block; bigger ones
// are rare enough on the outputs' disks to be left to the write's own check.
constexpr qint64 kBlock = 4096;

// Two outputs are one file when they are the same existing file, or the same
// name (as the folder compares names) in the same folder.
using NameKey = std::pair<platform::FileId, QString>;

NameKey nameKeyOf(const platform::ResolvedOutput &target)
{
    return {target.folderId, target.foldsCase ? target.name.toCaseFolded() : target.name};
}

qint64 saturatingSum(qint64 a, qint64 b)
{
    return a > std::numeric_limits<qint64>::max() - b ? std::numeric_limits<qint64>::max() : a + b;
}

} // namespace

struct OutputSet::Output {
    platform::ResolvedOutput target;
    std::unique_ptr<platform::PendingFile> pending;
    platform::File direct;
    std::unique_ptr<NativeDevice> device;
};

OutputSet::OutputSet(const QStringList &paths, const std::vector<const InputFile *> &inputs,
                     const QList<qint64> &bytesNeeded, Existing existing)
{
    // Each output holds its file, its folder and, while it is placed, the old file.
    platform::allowOpenFiles(3 * qint64(paths.size()) + 64);
    for (const QString &path : paths) {
        auto output = std::make_unique<Output>();
        checkPathText(path);
        output->target = platform::resolveOutput(path);
        m_outputs.push_back(std::move(output));
    }
    refuseRepeats(inputs);
    if (existing == Existing::Keep)
        refuseExisting();
    refuseWhatCannotFit(bytesNeeded);
    for (auto &output : m_outputs) {
        const platform::File *file = nullptr;
        if (output->target.kind == platform::Kind::Other) {
            output->direct = platform::openExistingForWriting(output->target.userPath);
            file = &output->direct;
        } else {
            output->pending = std::make_unique<platform::PendingFile>(output->target);
            file = &output->pending->file();
        }
        output->device = std::make_unique<NativeDevice>(*file, output->target.userPath, QIODevice::WriteOnly);
    }
}

OutputSet::~OutputSet() = default;

void OutputSet::refuseRepeats(const std::vector<const InputFile *> &inputs) const
{
    std::set<platform::FileId> files;
    for (const InputFile *input : inputs)
        files.insert(input->id());
    std::set<NameKey> names;
    for (const auto &output : m_outputs) {
        const platform::ResolvedOutput &target = output->target;
        const bool existing = target.kind != platform::Kind::Missing;
        if ((existing && !files.insert(target.id).second) || !names.insert(nameKeyOf(target)).second)
            throw RuntimeError(ErrorNumber::SameFile, target.userPath);
    }
}

void OutputSet::refuseExisting() const
{
    // A FIFO or a device is written to, never replaced.
    for (const auto &output : m_outputs) {
        if (output->target.kind == platform::Kind::Regular)
            throw UsageError{UsageError::tr("'%1' exists; nothing was written (--force replaces it)")
                                 .arg(output->target.userPath)};
    }
}

void OutputSet::refuseWhatCannotFit(const QList<qint64> &bytesNeeded) const
{
    if (bytesNeeded.isEmpty())
        return;
    Q_ASSERT(bytesNeeded.size() == qsizetype(m_outputs.size()));
    // What replacing an old output frees comes only after the new one is
    // written, so the old files count as staying.
    std::map<quint64, qint64> used; // by file system
    std::map<quint64, qint64> free;
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        const platform::ResolvedOutput &target = m_outputs[i]->target;
        if (target.kind == platform::Kind::Other)
            continue; // a FIFO or device holds nothing
        const quint64 system = target.folderId.volume;
        if (!free.count(system))
            free[system] = platform::freeSpaceIn(target.folder);
        const qint64 blocks = bytesNeeded[qsizetype(i)] / kBlock + (bytesNeeded[qsizetype(i)] % kBlock != 0);
        used[system] = saturatingSum(used[system],
                                     blocks > std::numeric_limits<qint64>::max() / kBlock
                                         ? std::numeric_limits<qint64>::max()
                                         : blocks * kBlock);
        if (free[system] >= 0 && used[system] > free[system])
            throw RuntimeError(ErrorNumber::DiskFull, target.userPath);
    }
}

QList<NamedDevice> OutputSet::devices() const
{
    QList<NamedDevice> devices;
    for (const auto &output : m_outputs)
        devices.append(NamedDevice{output->device.get(), output->target.userPath});
    return devices;
}

namespace {

// Puts the first `placed` outputs back as they were. One that the system
// will not put back (another program holding it) leaves the set mixed,
// which the user must hear of, rather than of what went wrong first.
void undoPlaced(const std::vector<platform::PendingFile *> &pending, size_t placed)
{
    QString mixed;
    while (placed > 0) {
        platform::PendingFile *file = pending[--placed];
        if (!file->undo())
            mixed = file->target().userPath;
    }
    if (!mixed.isEmpty())
        throw RuntimeError(
            ErrorNumber::AccessDenied, mixed,
            RuntimeError::tr("(the old files could not be put back: the outputs are a mix of old and new)"));
}

} // namespace

void OutputSet::commit(const Watchers &watchers)
{
    std::vector<platform::PendingFile *> pending;
    for (const auto &output : m_outputs) {
        if (output->pending) {
            output->pending->prepare();
            pending.push_back(output->pending.get());
        }
    }
    // One lock per folder as the file system knows it, however many paths
    // reach it (a second lock would wait for the first), always taken in the
    // same order, so that two runs into the same outputs commit one after
    // the other, never interleaved.
    std::map<platform::FileId, const platform::ResolvedOutput *> folders;
    for (const platform::PendingFile *file : pending)
        folders.emplace(file->target().folderId, &file->target());
    const platform::CommitWaits waits{watchers.stop, watchers.waiting, watchers.inUse};
    std::vector<std::unique_ptr<platform::FolderLock>> locks;
    for (const auto &folder : folders)
        locks.push_back(std::make_unique<platform::FolderLock>(*folder.second, waits));
    // Under the lock, no live run is between its steps here: what a dead one
    // left can go.
    for (const auto &folder : folders)
        platform::removeDeadRunsFiles(*folder.second);
    if (watchers.beforeReplacing) {
        QStringList names;
        for (const auto &output : m_outputs)
            names << output->target.userPath;
        watchers.beforeReplacing(names);
    }

    for (platform::PendingFile *file : pending)
        file->stage();
    // Back to back, so that a kill has as little time as can be to find one
    // output new and the other old.
    size_t placed = 0;
    std::vector<platform::FileId> placedIds;
    try {
        for (; placed < pending.size(); ++placed) {
            pending[placed]->place(placedIds, waits);
            placedIds.push_back(pending[placed]->id());
        }
    } catch (const platform::NameTaken &) {
        // The same output twice under two names: replacing it would lose it.
        const QString userPath = pending[placed]->target().userPath;
        undoPlaced(pending, placed);
        throw RuntimeError(ErrorNumber::SameFile, userPath);
    } catch (...) {
        undoPlaced(pending, placed);
        throw;
    }
    // The old files go before the folders are synced, so that a kill from
    // here on leaves no hidden file behind and one sync makes it all durable.
    for (platform::PendingFile *file : pending)
        file->finish();
    for (const auto &folder : folders)
        platform::syncFolder(*folder.second);
}

} // namespace tamrivel
