#pragma once

#include "split/deal_shape.h"
#include "split/platform/platform.h"
#include "split/stream/named_device.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace tamrivel {

class NativeDevice;

// An input already open, by the identity of what was opened.
struct OpenedInput {
    platform::FileId id;
    QString path;
};

// The outputs of one split or join, replaced as one set: each is written to
// a hidden file beside the old one, and only when all are complete and on the
// disk do they take the old files' places, back to back; if any cannot, those
// already placed are put back. A FIFO or device cannot be replaced and is
// written directly.
class OutputSet {
public:
    // Resolves each path once, the way it will be written, and refuses an
    // output that is one of `inputs` or another output, before creating
    // anything.
    OutputSet(const QStringList &paths, const QList<OpenedInput> &inputs);
    ~OutputSet();
    OutputSet(const OutputSet &) = delete;
    OutputSet &operator=(const OutputSet &) = delete;

    // One device per output, in order; `tap` sees what each is given.
    QList<NamedDevice> devices(const OutputTap &tap) const;

    void commit();

private:
    struct Output;
    std::vector<std::unique_ptr<Output>> m_outputs;
};

// For tests: called before each output is synced and before it is put in
// place; throwing there fails that step as the platform could.
enum class CommitStep { Sync, Place };
void setCommitHook(std::function<void(CommitStep step, int output)> hook);

} // namespace tamrivel
