#include "split/output/output_set.h"

#include "split/input/path_checks.h"
#include "split/stream/native_device.h"

#include <map>

namespace tamrivel {
namespace {

std::function<void(CommitStep, int)> &commitHook()
{
    static std::function<void(CommitStep, int)> hook;
    return hook;
}

void beforeStep(CommitStep step, int output)
{
    if (commitHook())
        commitHook()(step, output);
}

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

void setCommitHook(std::function<void(CommitStep step, int output)> hook)
{
    commitHook() = std::move(hook);
}

struct OutputSet::Output {
    platform::ResolvedOutput target;
    std::unique_ptr<platform::PendingFile> pending;
    platform::File direct;
    std::unique_ptr<NativeDevice> device;
};

OutputSet::OutputSet(const QStringList &paths, const QList<OpenedInput> &inputs)
{
    for (const QString &path : paths) {
        auto output = std::make_unique<Output>();
        checkPathText(path);
        output->target = platform::resolveOutput(path);
        m_outputs.push_back(std::move(output));
    }
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        const platform::ResolvedOutput &target = m_outputs[i]->target;
        for (const OpenedInput &input : inputs) {
            if (target.kind != platform::Kind::Missing && target.id == input.id)
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
            output->pending = std::make_unique<platform::PendingFile>(output->target);
            file = &output->pending->file();
        }
        output->device = std::make_unique<NativeDevice>(*file, output->target.userPath, QIODevice::WriteOnly);
    }
}

OutputSet::~OutputSet() = default;

QList<NamedDevice> OutputSet::devices(const OutputTap &tap) const
{
    QList<NamedDevice> devices;
    for (const auto &output : m_outputs) {
        NamedDevice device{output->device.get(), output->target.userPath};
        if (tap) {
            const int index = int(devices.size());
            device.tap = [tap, index](const char *data, qsizetype length) { tap(index, data, length); };
        }
        devices.append(device);
    }
    return devices;
}

void OutputSet::commit()
{
    std::vector<platform::PendingFile *> pending;
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        beforeStep(CommitStep::Sync, int(i));
        if (m_outputs[i]->pending) {
            m_outputs[i]->pending->prepare();
            pending.push_back(m_outputs[i]->pending.get());
        }
    }
    // One lock per folder, always taken in the same order, so that two runs
    // into the same outputs commit one after the other, never interleaved.
    std::map<QString, QString> folders; // each folder, with an output in it to name
    for (const platform::PendingFile *file : pending)
        folders.emplace(file->target().folder, file->target().userPath);
    std::vector<std::unique_ptr<platform::FolderLock>> locks;
    for (const auto &folder : folders)
        locks.push_back(std::make_unique<platform::FolderLock>(folder.first));

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
    for (const auto &[folder, userPath] : folders)
        platform::syncFolder(folder, userPath);
}

} // namespace tamrivel
