#pragma once

#include "split/deal_shape.h"
#include "split/stream/named_device.h"
#include "split/watchers.h"

#include <QList>

namespace tamrivel {

// Deals everything `source` yields to `parts`, block by block in constant
// memory. Reads until the source ends, so the parts always interleave back
// into exactly the bytes that were read, even if the source changed meanwhile.
void dealStream(const NamedDevice &source, const QList<NamedDevice> &parts, const DealShape &shape,
                qint64 expectedTotal, const Watchers &watchers = {});

// The inverse: interleaves the first `partSizes` bytes of `parts` into `dest`;
// what follows them is the caller's. A part that yields fewer raises
// FileChanged rather than produce a wrong image.
void gatherStream(const QList<NamedDevice> &parts, const QList<qint64> &partSizes, const NamedDevice &dest,
                  const DealShape &shape, const Watchers &watchers = {});

// Bytes per block: large enough to amortise each system call, small enough
// to stay in cache beside its parts. Always a whole number of rounds.
qsizetype blockBytes(const DealShape &shape);

} // namespace tamrivel
