#include "native_device.h"

namespace tamrivel {

NativeDevice::NativeDevice(const platform::File &file, const QString &path, OpenMode mode)
    : m_file(file), m_path(path)
{
    open(mode | QIODevice::Unbuffered);
}

qint64 NativeDevice::readData(char *data, qint64 maxSize)
{
    try {
        return platform::readSome(m_file, data, qsizetype(maxSize), m_path);
    } catch (const RuntimeError &error) {
        return failWith(error);
    }
}

qint64 NativeDevice::writeData(const char *data, qint64 size)
{
    try {
        platform::writeAll(m_file, data, qsizetype(size), m_path);
        return size;
    } catch (const RuntimeError &error) {
        return failWith(error);
    }
}

qint64 NativeDevice::failWith(const RuntimeError &error)
{
    m_failure = error.number();
    setErrorString(error.description());
    return -1;
}

} // namespace tamrivel
