#pragma once

#include "split/output/output_shaper.h"

#include <QIODevice>

#include <optional>

namespace tamrivel {

// A join's output cut to `length` bytes. The bytes cut off must all be
// `fill`: anything else is data that would be lost, and is refused. With no
// fill they are a mirrored chip's copies, and anything may go.
class LengthCut : public OutputShaper, private QIODevice {
public:
    LengthCut(qint64 length, std::optional<uchar> fill) : m_length(length), m_fill(fill) { }

    QList<NamedDevice> attach(const QList<NamedDevice> &files, const OutputTap &report) override;
    void finish() override;

private:
    bool isSequential() const override { return true; }
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

    qint64 m_length;
    std::optional<uchar> m_fill;
    qint64 m_seen = 0;
    NamedDevice m_file;
    FileTap m_report;
};

} // namespace tamrivel
