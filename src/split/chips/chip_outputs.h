#pragma once

#include "split/chips/way_device.h"
#include "split/output/output_shaper.h"
#include "split/part_layout.h"
#include "split/records/record_writer.h"

#include <memory>
#include <optional>
#include <vector>

namespace tamrivel {

// A split's outputs as chips: each way padded to its chip size, cut into
// banks, and written raw or as records. The report's taps see the image
// bytes (what a programmer loads), not the record text.
class ChipOutputs : public OutputShaper {
public:
    explicit ChipOutputs(const PartLayout &layout) : m_layout(layout) { }

    QList<NamedDevice> attach(const QList<NamedDevice> &files) override;
    void finish() override;

private:
    class FileImage : public ByteSink {
    public:
        FileImage(const NamedDevice &file, RecordFormat format, qint64 imageSize);
        void put(const char *data, qsizetype length) override;
        void finish();

    private:
        NamedDevice m_file;
        std::optional<RecordWriter> m_records;
    };

    PartLayout m_layout;
    std::vector<std::unique_ptr<FileImage>> m_files;
    std::optional<WayDevices> m_ways;
};

// A join's output cut to `length` bytes. The bytes cut off must all be
// `fill`: anything else is data that would be lost, and is refused.
class LengthCut : public OutputShaper, private QIODevice {
public:
    LengthCut(qint64 length, uchar fill) : m_length(length), m_fill(fill) { }

    QList<NamedDevice> attach(const QList<NamedDevice> &files) override;
    void finish() override;

private:
    bool isSequential() const override { return true; }
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

    qint64 m_length;
    uchar m_fill;
    qint64 m_seen = 0;
    NamedDevice m_file;
};

} // namespace tamrivel
