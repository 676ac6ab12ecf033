#pragma once

#include "split/stream/byte_sink.h"
#include "split/watchers.h"

namespace tamrivel {

class InputFile;
struct ChipFit;

// Hands `sink` what a programmer's buffer holds once `input` is loaded into
// one chip as split places a way there: `fit.offset` fill bytes, the file,
// then fill, or mirrored copies of the file, up to the chip's size; with no
// chip size, the file alone. Raises UsageError for an offset that leaves no
// room, ChipOverflow naming the file for one larger than its room (a stream
// as soon as it is seen to be), and Cancelled on `watchers.stop`.
void streamChipBuffer(const InputFile &input, const ChipFit &fit, ByteSink &sink, const Watchers &watchers);

} // namespace tamrivel
