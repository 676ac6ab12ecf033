#pragma once

#include "split/output/existing_outputs.h"
#include "split/platform/replacement.h"
#include "split/stream/named_device.h"
#include "split/watchers.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace tamrivel {

class InputFile;
class NativeDevice;

// The outputs of one split or join, replaced as one set: each is written to
// a hidden file beside the old one, and only when all are complete and on the
// disk do they take the old files' places, back to back; if any cannot, those
// already placed are put back. A FIFO or device cannot be replaced and is
// written directly.
class OutputSet {
public:
    // Resolves each path once, the way it will be written, and refuses an
    // output that is one of `inputs` or another output, and outputs whose
    // `bytesNeeded` (one per path, or none where unknown) their file system
    // has no room for, before creating anything.
    OutputSet(const QStringList &paths, const std::vector<const InputFile *> &inputs,
              const QList<qint64> &bytesNeeded, Existing existing = Existing::Replace);
    ~OutputSet();
    OutputSet(const OutputSet &) = delete;
    OutputSet &operator=(const OutputSet &) = delete;

    // One device per output, in order.
    QList<NamedDevice> devices() const;

    // A wait for another run's lock on a folder ends on `watchers.stop`.
    void commit(const Watchers &watchers);

private:
    void refuseRepeats(const std::vector<const InputFile *> &inputs) const;
    void refuseWhatCannotFit(const QList<qint64> &bytesNeeded) const;
    void refuseExisting() const;

    struct Output;
    std::vector<std::unique_ptr<Output>> m_outputs;
};

} // namespace tamrivel
