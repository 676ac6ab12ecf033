#include "named_device.h"

#include "../runtime/runtime_error.h"

#include <QIODevice>
#include <QList>

#include <algorithm>
#include <future>

namespace tamrivel {

void raiseDeviceError(const NamedDevice &device)
{
    const auto *reporter = dynamic_cast<const ReportsFailure *>(device.device);
    throw RuntimeError(reporter ? reporter->failure() : ErrorNumber::DeviceIo, device.name);
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

void writeBlocks(const QList<NamedDevice> &to, const char *const *blocks, const qsizetype *lengths)
{
    const qsizetype count = to.size();
    auto tapRange = [&](qsizetype from, qsizetype end) {
        for (qsizetype i = from; i < end; ++i) {
            if (to[i].tap)
                to[i].tap(blocks[i], lengths[i]);
        }
    };
    const bool tapped = std::any_of(to.begin(), to.end(), [](const NamedDevice &d) { return bool(d.tap); });
    std::future<void> firstHalf;
    if (tapped)
        firstHalf = std::async(std::launch::async, tapRange, 0, count / 2);
    for (qsizetype i = 0; i < count; ++i)
        writeFully(to[i], blocks[i], lengths[i]);
    if (tapped) {
        tapRange(count / 2, count);
        firstHalf.get();
    }
}

} // namespace tamrivel
