#pragma once

#include "split/line_wiring.h"
#include "split/stream/byte_sink.h"

#include <QByteArray>

#include <optional>

namespace tamrivel {

// A chip's bytes on their way to its file, moved to where its board's wiring
// reads them. Data lines alone are rewritten as the bytes go by; wired
// address lines move words across the whole chip, which is held until its
// last byte.
class WiredChip : public ByteSink {
public:
    WiredChip(ByteSink *file, const LineWiring &wiring, int wordBytes, qint64 chipBytes);

    void put(const char *data, qsizetype length) override;

private:
    ByteSink *m_file;
    LineWiring m_wiring;
    int m_wordBytes;
    qint64 m_chipBytes;
    std::optional<DataLineTable> m_data;
    QByteArray m_held; // the chip so far, or with data lines alone a word begun
    QByteArray m_wired;
};

} // namespace tamrivel
