#include "split/stream/native_device.h"

namespace tamrivel {
namespace {

// Write-back is asked for in steps this large: small enough that the disk
// starts early, large enough that it costs one call in many writes.
constexpr qint64 kWriteBackStep = qint64(1) << 20;

} // namespace

NativeDevice::NativeDevice(const platform::File &file, const QString &path, OpenMode mode,
                           qint64 expectedSize)
    : m_file(file), m_path(path), m_expected(expectedSize)
{
    open(mode | QIODevice::Unbuffered);
}

qint64 NativeDevice::readData(char *data, qint64 maxSize)
{
    try {
        const qint64 got = platform::readSome(m_file, data, qsizetype(maxSize), m_path);
        const bool changed = got == 0 ? m_read < m_expected : m_read + got > m_expected;
        if (m_expected != kUnknownSize && changed)
            throw RuntimeError(ErrorNumber::FileChanged, m_path);
        m_read += got;
        return got;
    } catch (const RuntimeError &error) {
        return failWith(error);
    }
}

qint64 NativeDevice::writeData(const char *data, qint64 size)
{
    try {
        platform::writeAll(m_file, data, qsizetype(size), m_path);
        m_written += size;
        startWriteBackOfNewBytes();
        return size;
    } catch (const RuntimeError &error) {
        return failWith(error);
    }
}

void NativeDevice::startWriteBackOfNewBytes()
{
    if (m_written - m_writingBack < kWriteBackStep)
        return;
    platform::startWriteBack(m_file, m_writingBack, m_written - m_writingBack);
    m_writingBack = m_written;
}

qint64 NativeDevice::failWith(const RuntimeError &error)
{
    m_failure = error.number();
    setErrorString(error.description());
    return -1;
}

} // namespace tamrivel
