#include "split/output/output_set.h"

#include "split/input/input_file.h"
#include "split/input/path_checks.h"
#include "split/stream/native_device.h"

#include <map>

namespace tamrivel {
namespace {

// True when the two resolved outputs will be one file: the same existing
// file, or the same name (as the folder compares names) in the same folder.
bool sameTarget(const platform::ResolvedOutput &a, const platform::ResolvedOutput &b)
{
    if (a.kind != platform::Kind::Missing && b.kind != platform::Kind::Missing)
        return a.id == b.id;
    if (!(a.folderId == b.folderId))
        return false;
    return a.name.compare(b.name, a.foldsCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

} // namespace

struct OutputSet::Output {
    platform::ResolvedOutput target;
    std::unique_ptr<platform::PendingFile> pending;
    platform::File direct;
    std::unique_ptr<NativeDevice> device;
};

OutputSet::OutputSet(const QStringList &paths, const std::vector<const InputFile *> &inputs,
                     const CommitSeams *seams)
    : m_seams(seams)
{
    for (const QString &path : paths) {
        auto output = std::make_unique<Output>();
        checkPathText(path);
        output->target = platform::resolveOutput(path);
        m_outputs.push_back(std::move(output));
    }
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        const platform::ResolvedOutput &target = m_outputs[i]->target;
        for (const InputFile *input : inputs) {
            if (target.kind != platform::Kind::Missing && target.id == input->id())
                throw RuntimeError(ErrorNumber::SameFile, target.userPath);
        }
        for (size_t j = 0; j < i; ++j) {
            if (sameTarget(m_outputs[j]->target, target))
                throw RuntimeError(ErrorNumber::SameFile, target.userPath);
        }
    }
    for (auto &output : m_outputs) {
        const platform::File *file = nullptr;
        if (output->target.kind == platform::Kind::Other) {
            output->direct = platform::openExistingForWriting(output->target.userPath);
            file = &output->direct;
        } else {
            const auto temporary = seams && seams->namedTemporaries
                ? platform::PendingFile::Temporary::Named
                : platform::PendingFile::Temporary::UnnamedWherePossible;
            output->pending = std::make_unique<platform::PendingFile>(output->target, temporary);
            file = &output->pending->file();
        }
        output->device = std::make_unique<NativeDevice>(*file, output->target.userPath, QIODevice::WriteOnly);
    }
}

OutputSet::~OutputSet() = default;

QList<NamedDevice> OutputSet::devices() const
{
    QList<NamedDevice> devices;
    for (const auto &output : m_outputs)
        devices.append(NamedDevice{output->device.get(), output->target.userPath});
    return devices;
}

void OutputSet::beforeStep(CommitStep step, int output) const
{
    if (m_seams && m_seams->beforeStep)
        m_seams->beforeStep(step, output);
}

void OutputSet::commit(const Watchers &watchers)
{
    std::vector<platform::PendingFile *> pending;
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        beforeStep(CommitStep::Sync, int(i));
        if (m_outputs[i]->pending) {
            m_outputs[i]->pending->prepare();
            pending.push_back(m_outputs[i]->pending.get());
        }
    }
    // One lock per folder as the file system knows it, however many paths
    // reach it (a second lock would wait for the first), always taken in the
    // same order, so that two runs into the same outputs commit one after
    // the other, never interleaved.
    std::map<std::pair<quint64, quint64>, const platform::ResolvedOutput *> folders;
    for (const platform::PendingFile *file : pending)
        folders.emplace(std::pair(file->target().folderId.volume, file->target().folderId.index),
                        &file->target());
    const platform::LockWait wait{watchers.stop, watchers.waiting};
    std::vector<std::unique_ptr<platform::FolderLock>> locks;
    for (const auto &folder : folders)
        locks.push_back(std::make_unique<platform::FolderLock>(*folder.second, wait));

    for (platform::PendingFile *file : pending)
        file->stage();
    // Back to back, so that a kill has as little time as can be to find one
    // output new and the other old.
    size_t placed = 0;
    try {
        for (; placed < pending.size(); ++placed) {
            beforeStep(CommitStep::Place, int(placed));
            pending[placed]->place();
        }
    } catch (...) {
        while (placed > 0)
            pending[--placed]->undo();
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
