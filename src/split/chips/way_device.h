#pragma once

#include "split/stream/byte_sink.h"
#include "split/stream/named_device.h"

#include <QIODevice>
#include <QStringList>

#include <memory>
#include <vector>

namespace tamrivel {

struct ChipFit;

// What a deal writes one way's bytes to: it hands them to the way's chips in
// turn, each taking `fit.offset` erased bytes then its room of the way, and
// finish() pads the rest of them with the fill byte or, mirrored, with copies
// of what each chip holds. With no chip size, the one sink takes everything
// and nothing is padded. Bytes beyond the last chip (a source that grew
// meanwhile) raise ChipOverflow naming that chip's file.
class WayDevice : public QIODevice {
public:
    WayDevice(std::vector<ByteSink *> chips, const QStringList &names, const ChipFit &fit);

    bool isSequential() const override { return true; }
    void finish();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    // The erased bytes before the image, once a chip is first written to.
    void startChip();
    void put(const char *data, qint64 length);
    void putRepeated(const QByteArray &bytes, qint64 length);

    std::vector<ByteSink *> m_chips;
    QStringList m_names;
    qint64 m_chipSize;
    qint64 m_offset;
    qint64 m_room;
    uchar m_fill;
    bool m_mirror;
    size_t m_chip = 0;
    size_t m_started = 0; // chips whose offset is written
    qint64 m_inChip = 0;
    // A mirrored chip's first bytes: never more than half its room is copied.
    QByteArray m_copied;
};

class PartLayout;

class WiredChip;

// The ways of a deal over the files of `layout`, given as sinks and names way
// by way, bank by bank: the devices to deal to, and the same as NamedDevices.
// With a wiring, each file is given its chip's content as the board reads it.
struct WayDevices {
    WayDevices(const PartLayout &layout, const std::vector<ByteSink *> &files, const QStringList &names);
    ~WayDevices();
    void finish();

    std::vector<std::unique_ptr<WiredChip>> wired;
    std::vector<std::unique_ptr<WayDevice>> devices;
    QList<NamedDevice> named;
};

} // namespace tamrivel
