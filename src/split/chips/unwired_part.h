#pragma once

#include "split/line_wiring.h"
#include "split/stream/named_device.h"

#include <QByteArray>
#include <QIODevice>

#include <optional>

namespace tamrivel {

// A part read back in the image's order, undoing its board's wiring: data
// lines as it is read, wired address lines by reading the whole chip, of
// `chipBytes`, first. A failure names the part.
class UnwiredPart : public QIODevice, public ReportsFailure {
public:
    UnwiredPart(const NamedDevice &part, const LineWiring &wiring, int wordBytes, qint64 chipBytes);

    bool isSequential() const override { return true; }
    ErrorNumber failure() const override { return m_failure; }
    QString failedName() const override { return m_part.name; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    void refill();

    NamedDevice m_part;
    LineWiring m_wiring;
    int m_wordBytes;
    qint64 m_chipBytes;
    std::optional<DataLineTable> m_data;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_wholeRead = false;
    ErrorNumber m_failure = ErrorNumber::DeviceIo;
};

} // namespace tamrivel
