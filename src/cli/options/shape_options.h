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
    // already say how many (0: none named); with banks they cannot, as each
    // way has several files. Raises UsageError for a shape that cannot be.
    DealShape read(const QCommandLineParser &parser, qsizetype named, bool banks) const;

private:
    QCommandLineOption m_ways;
    QCommandLineOption m_width;
    QCommandLineOption m_swap;
};

} // namespace tamrivel::cli
