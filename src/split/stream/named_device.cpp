#include "split/stream/named_device.h"

#include "runtime/runtime_error.h"

#include <QIODevice>

namespace tamrivel {

void raiseDeviceError(const NamedDevice &device)
{
    const auto *reporter = dynamic_cast<const ReportsFailure *>(device.device);
    if (!reporter)
        throw RuntimeError(ErrorNumber::DeviceIo, device.name);
    const QString failed = reporter->failedName();
    throw RuntimeError(reporter->failure(), failed.isEmpty() ? device.name : failed);
}

qsizetype readFully(const NamedDevice &from, char *buffer, qsizetype length)
{
    qsizetype have = 0;
    while (have < length) {
        const qint64 got = from.device->read(buffer + have, length - have);
        if (got < 0)
            raiseDeviceError(from);
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
        const qint64 wrote = to.device->write(data + done, length - done);
        if (wrote <= 0)
            raiseDeviceError(to);
        done += wrote;
    }
}

} // namespace tamrivel
