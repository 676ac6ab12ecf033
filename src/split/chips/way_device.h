#pragma once

#include "split/stream/named_device.h"

#include <QIODevice>
#include <QStringList>

#include <memory>
#include <vector>

namespace tamrivel {

// Where the bytes of one output file go: to the file, or to a comparison.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void put(const char *data, qsizetype length) = 0;
};

// What a deal writes one way's bytes to: it hands them to the way's chips in
// turn, each taking `chipSize` bytes, and finish() pads the rest of them with
// `fill`. With no chip size, the one sink takes everything and nothing is
// padded. Bytes beyond the last chip (a source that grew meanwhile) raise
// ChipOverflow naming that chip's file.
class WayDevice : public QIODevice {
public:
    WayDevice(std::vector<ByteSink *> chips, const QStringList &names, qint64 chipSize, uchar fill);

    bool isSequential() const override { return true; }
    void finish();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    std::vector<ByteSink *> m_chips;
    QStringList m_names;
    qint64 m_chipSize;
    uchar m_fill;
    size_t m_chip = 0;
    qint64 m_inChip = 0;
};

class PartLayout;

// The ways of a deal over the files of `layout`, given as sinks and names way
// by way, bank by bank: the devices to deal to, and the same as NamedDevices.
struct WayDevices {
    WayDevices(const PartLayout &layout, const std::vector<ByteSink *> &files, const QStringList &names);
    void finish();

    std::vector<std::unique_ptr<WayDevice>> devices;
    QList<NamedDevice> named;
};

} // namespace tamrivel
