#pragma once

#include "split/stream/named_device.h"

#include <QIODevice>
#include <QList>

namespace tamrivel {

// One way of a banked split read back as the bytes it was dealt: its chips
// in turn, each past its `offset` erased bytes (which must all be `fill`)
// and for `room` bytes. A failure names the chip it happened on.
class BankChain : public QIODevice, public ReportsFailure {
public:
    BankChain(const QList<NamedDevice> &chips, qint64 room, qint64 offset, uchar fill);

    bool isSequential() const override { return true; }
    ErrorNumber failure() const override { return m_failure; }
    QString failedName() const override { return m_failedName; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 readFromChip(char *data, qint64 maxSize);

    QList<NamedDevice> m_chips;
    qint64 m_room;
    qint64 m_offset;
    uchar m_fill;
    qsizetype m_chip = 0;
    qint64 m_inChip = -1; // -1: its offset is still to be skipped
    ErrorNumber m_failure = ErrorNumber::DeviceIo;
    QString m_failedName;
};

} // namespace tamrivel
