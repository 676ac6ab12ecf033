#pragma once

#include "split/deal_shape.h"
#include "split/output/output_shaper.h"
#include "split/platform/platform.h"
#include "split/stream/named_device.h"

#include <QStringList>

namespace tamrivel {

// Deals `source` to `outputs` (one per way). The paths are checked in the
// order they are used (the source, then each output) and every check comes
// before any output is created; the outputs are replaced as one set, only once
// every one has been written in full, so a failure leaves all existing files
// as they were. Raises RuntimeError naming the file at fault. With a
// `shaper`, the outputs are the files it makes of the ways (chips in banks).
void splitFiles(const QString &source, const QStringList &outputs, const DealShape &shape,
                const Watchers &watchers = {}, OutputShaper *shaper = nullptr);

// Deals an already-open `source` (a pipe, say) into files, with the same
// guarantees for the outputs. `expectedSize` only feeds the progress figure.
void splitSource(const NamedDevice &source, qint64 expectedSize, const QStringList &outputs,
                 const DealShape &shape, const Watchers &watchers = {});

// The window's split: even offsets to `evenOutput`, odd ones to `oddOutput`.
void splitFile(const QString &source, const QString &evenOutput, const QString &oddOutput,
               const Watchers &watchers = {});

// Puts `parts` (one per way) back together into `output`, with the same
// guarantees. Parts whose sizes cannot come from one split of `shape` are
// refused before anything is written.
void joinFiles(const QStringList &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers = {});

// A part already open (decoded records, say): the device named by its path,
// the identity of the file it reads, and how many bytes it yields.
struct OpenPart {
    NamedDevice device;
    platform::FileId id;
    qint64 size = 0;
};

// joinFiles for parts already open, written through `shaper` when given.
void joinParts(const QList<OpenPart> &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers = {}, OutputShaper *shaper = nullptr);

} // namespace tamrivel
