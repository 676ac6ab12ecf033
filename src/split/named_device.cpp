#include "named_device.h"

#include "../runtime/runtime_error.h"

#include <QFileDevice>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

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

namespace {

// Outputs are synced to the disk before they replace the old files; asking
// the kernel to start writing back now overlaps that wait with the rest of
// the split (a third off a 256 MiB split). Only a hint: failure is harmless.
void startWriteback(QIODevice *device)
{
#ifdef Q_OS_LINUX
    if (auto *file = qobject_cast<QFileDevice *>(device); file && file->handle() >= 0)
        ::sync_file_range(file->handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(device);
#endif
}

} // namespace

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
    startWriteback(to.device);
}

} // namespace tamrivel
