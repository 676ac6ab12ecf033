#pragma once

#include "verb_parser.h"

#include "split/line_wiring.h"

namespace tamrivel::cli {

// --data-lines and --address-lines: a board that connects a chip's lines to
// its bus in another order.
class WiringOptions {
public:
    explicit WiringOptions(VerbParser &parser);

    // Raises UsageError for a list that is not line numbers apart by commas;
    // whether it fits the chip is for the layout to say, once it is known.
    LineWiring read(const QCommandLineParser &parser) const;

private:
    QCommandLineOption m_data;
    QCommandLineOption m_address;
};

} // namespace tamrivel::cli
