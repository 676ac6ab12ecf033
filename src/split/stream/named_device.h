#pragma once

#include "runtime/runtime_error.h"

#include <QString>

#include <functional>

class QIODevice;

namespace tamrivel {

// A device that knows which of our errors its last failed read or write was.
class ReportsFailure {
public:
    virtual ErrorNumber failure() const = 0;
    // The file the failure happened on, where a device reads several; empty
    // for the device's own.
    virtual QString failedName() const { return {}; }

protected:
    ~ReportsFailure() = default;
};

// Sees bytes written to one file, in order (called by the streams, possibly
// on another thread, never twice at once).
using FileTap = std::function<void(const char *data, qsizetype length)>;

// An open device with the path the user gave for it, so that a failure can
// name the file.
struct NamedDevice {
    QIODevice *device = nullptr;
    QString name;
    // Sees every byte the stream writes to the device.
    FileTap tap = {};
};

// Reads until `buffer` holds `length` bytes or the device has no more; returns
// how many it holds. A failed read raises an error naming the device.
qsizetype readFully(const NamedDevice &from, char *buffer, qsizetype length);

// Writes all `length` bytes or raises an error naming the device. Does not
// call the device's tap.
void writeFully(const NamedDevice &to, const char *data, qsizetype length);

// Raises the error for the last failed operation on `device`: the number it
// reports, or a device error for one that cannot say.
[[noreturn]] void raiseDeviceError(const NamedDevice &device);

} // namespace tamrivel
