#include "named_device.h"

#include "../runtime/runtime_error.h"

#include <QFileDevice>

#include <cerrno>

namespace tamrivel {

void raiseDeviceError(const NamedDevice &device, int savedErrno)
{
    // Qt reports running out of space as a resource error on every platform;
    // errno refines the rest where the device is a real file.
    if (auto *file = qobject_cast<QFileDevice *>(device.device)) {
        if (file->error() == QFileDevice::ResourceError)
            throw RuntimeError(ErrorNumber::DiskFull, device.name);
    }
    throw RuntimeError(errorNumberFromErrno(savedErrno, ErrorNumber::DeviceIo), device.name);
}

qsizetype readFully(const NamedDevice &from, char *buffer, qsizetype length)
{
    qsizetype have = 0;
    while (have < length) {
        errno = 0;
        const qint64 got = from.device->read(buffer + have, length - have);
        if (got < 0)
            raiseDeviceError(from, errno);
        if (got == 0)
            break;
        have += got;
    }
    return have;
}

void writeFully(const NamedDevice &to, const char *data, qsizetype length)
{
    qsizetype done = 0;
    while (done < length) {
        errno = 0;
        const qint64 wrote = to.device->write(data + done, length - done);
        if (wrote <= 0)
            raiseDeviceError(to, errno);
        done += wrote;
    }
    if (to.tap)
        to.tap(data, length);
}

} // namespace tamrivel
