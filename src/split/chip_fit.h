#pragma once

#include "split/line_wiring.h"
#include "split/records/record_dialect.h"
#include "split/records/record_format.h"

#include <QtGlobal>

#include <limits>

namespace tamrivel {

// What an EPROM reads before it is burnt, and so what a programmer skips and
// what padding should hold.
inline constexpr uchar kErasedByte = 0xFF;

// How each way of a split sits on its chips. Split writes it, join undoes
// it, verify and identify compare against it.
struct ChipFit {
    qint64 chipSize = 0; // 0: each output holds just its dealt bytes
    bool banks = false; // a way larger than a chip goes on several chips
    uchar fill = kErasedByte;
    RecordFormat format = RecordFormat::Binary;
    // The rest of a chip repeats the bytes it holds, so that a board leaving
    // its top address lines open reads the same program; `fill` then only
    // erases what lies before `offset`.
    bool mirror = false;
    qint64 offset = 0; // erased bytes before the image, for boards mapping it high
    bool rawParts = false; // join and verify take each part's bytes, whatever text they look like
    RecordDialect records{}; // how record files are written, and where their addresses start
    LineWiring wiring = {}; // each chip's whole content, padding included, as its board reads it

    bool changesOutputs() const
    {
        return chipSize > 0 || offset > 0 || format != RecordFormat::Binary || !wiring.straight();
    }
    // Bytes of its way one chip holds; with no chip size, all of them.
    qint64 room() const { return chipSize > 0 ? chipSize - offset : std::numeric_limits<qint64>::max(); }
};

} // namespace tamrivel
