#pragma once

#include "split/platform/platform.h"
#include "split/stream/named_device.h"

#include <QIODevice>

namespace tamrivel {

// A platform file seen as a Qt device. A failed read or write keeps the
// number the platform gave it, so the error the user sees names the cause.
// Read to its end, a file of a known size must yield exactly that many bytes:
// any other count means it changed while it was read.
class NativeDevice : public QIODevice, public ReportsFailure {
public:
    static constexpr qint64 kUnknownSize = -1;
    NativeDevice(const platform::File &file, const QString &path, OpenMode mode,
                 qint64 expectedSize = kUnknownSize);

    ErrorNumber failure() const override { return m_failure; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    // Outputs are synced before they are placed; starting their write-back as
    // they grow lets the disk work while the rest is still being dealt.
    void startWriteBackOfNewBytes();
    qint64 failWith(const RuntimeError &error);

    const platform::File &m_file;
    QString m_path;
    qint64 m_expected;
    qint64 m_read = 0;
    qint64 m_written = 0;
    qint64 m_writingBack = 0;
    ErrorNumber m_failure = ErrorNumber::DeviceIo;
};

} // namespace tamrivel
