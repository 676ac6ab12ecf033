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

    QList<NamedDevice> attach(const QList<NamedDevice> &files, const OutputTap &report) override;
    void finish() override;

private:
    class FileImage : public ByteSink {
    public:
        FileImage(const NamedDevice &file, const ChipFit &fit, qint64 imageSize, FileTap report);
        void put(const char *data, qsizetype length) override;
        void finish();

    private:
        NamedDevice m_file;
        FileTap m_report;
        std::optional<RecordWriter> m_records;
    };

    PartLayout m_layout;
    std::vector<std::unique_ptr<FileImage>> m_files;
    std::optional<WayDevices> m_ways;
};

} // namespace tamrivel
