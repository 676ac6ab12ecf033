#pragma once

#include "runtime/runtime_error.h"

namespace tamrivel {

struct ChipFit;

// The errors of fitting an image to its chips and files, each worded in one
// place, whichever step finds it.

// `bytes` of a way for a chip of `chipSize`; `atLeast` when the stream found
// it and the way's whole size is not known yet.
RuntimeError chipOverflow(const QString &file, qint64 bytes, qint64 chipSize, bool atLeast = false);

// A join cut to `length` bytes where the parts hold only `total`.
RuntimeError lengthBeyondParts(const QString &file, qint64 length, qint64 total);

// A join cut to a length that would drop `byte`, at `offset`, which is not
// the fill: data, not padding.
RuntimeError dataBeyondLength(const QString &file, qint64 offset, uchar byte);

// A join told to skip `offset` erased bytes of each part, where `byte`, at
// `at`, is not the fill.
RuntimeError dataBeforeOffset(const QString &file, qint64 offset, qint64 at, uchar byte);

// Empty when `fit` leaves room in its chip for the image; otherwise the
// usage error that says its offset does not.
QString noRoomProblem(const ChipFit &fit);

} // namespace tamrivel
