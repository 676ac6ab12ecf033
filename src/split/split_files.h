#pragma once

#include "split/deal_shape.h"
#include "split/output/existing_outputs.h"
#include "split/part_layout.h"
#include "split/watchers.h"

#include <QStringList>

namespace tamrivel {

// Deals `source` to its outputs: one per way, or with a `fit` that changes
// them, the files of its PartLayout (chips in banks, record formats). With no
// outputs named, they are proposed from the source's name, which must then
// be a plain file. The source's size is taken from the file opened, once.
// The paths are checked in the order they are used (the source, then each
// output) and every check, the fit of each way to its chip included, comes
// before any output is created; the outputs are replaced as one set, only
// once every one has been written in full, so a failure leaves all existing
// files as they were. Returns the outputs written. Raises RuntimeError naming
// the file at fault, and UsageError for outputs that do not match the shape.
QStringList splitFiles(const QString &source, const QStringList &outputs, const DealShape &shape,
                       const Watchers &watchers = {}, const ChipFit &fit = {},
                       Existing existing = Existing::Replace);

// The window's split: even offsets to `evenOutput`, odd ones to `oddOutput`.
void splitFile(const QString &source, const QString &evenOutput, const QString &oddOutput,
               const Watchers &watchers = {});

// Puts `parts` (one per way, or with `fit.banks` the chips of each way in
// turn, all of one size; each raw, Intel HEX or S-records, told from its
// content) back together into `output`, with the same guarantees. A record
// part whose data stops short of its peers' size is filled up to it, as many
// tools leave out erased bytes; `fit.fill` is also the only byte that
// `fit.offset` and `length` may cut off, unless the parts are mirrored, whose
// copies are cut unchecked. `length` cuts the output to that many bytes; -1
// keeps all. With `fit.wiring`, each part is first read back in the image's
// order (a record part with wired address lines filled to the size they
// address). Parts whose sizes cannot come from one split of `shape` or be
// wired so, and a length beyond them, are refused before anything is
// written.
void joinFiles(const QStringList &parts, const QString &output, const DealShape &shape,
               const Watchers &watchers = {}, const ChipFit &fit = {}, qint64 length = -1,
               Existing existing = Existing::Replace);

} // namespace tamrivel
