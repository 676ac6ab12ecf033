#pragma once

#include "verb_parser.h"

#include "split/deal_shape.h"

namespace tamrivel::cli {

// --ways, --width and --swap: how the bytes are dealt, alike for every verb
// that deals or undoes a deal.
class ShapeOptions {
public:
    explicit ShapeOptions(VerbParser &parser);

    // The shape asked for. --ways may be left out when the `named` files
    // already say how many (0: none named), save one: a single name is more
    // often a name left out than one chip for the whole image. With banks
    // they cannot, as each way has several files. --width falls back on
    // `width`, a 16-bit chip's 2. Raises UsageError for a shape that cannot
    // be.
    DealShape read(const QCommandLineParser &parser, qsizetype named, bool banks, int width = 1) const;

private:
    QCommandLineOption m_ways;
    QCommandLineOption m_width;
    QCommandLineOption m_swap;
};

} // namespace tamrivel::cli
