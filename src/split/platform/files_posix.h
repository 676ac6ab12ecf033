#pragma once

#include "split/platform/names_posix.h"
#include "split/platform/platform.h"

#include <QByteArray>

#include <cerrno>
#include <utility>

#include <sys/stat.h>

// What the other POSIX files share of the file services: errors from errno,
// names in the file system's encoding, and a file's status.
namespace tamrivel::platform::posix {

[[noreturn]] void raise(const QString &path, ErrorNumber fallback = ErrorNumber::DeviceIo, int err = errno);

// The folder part and the last component of a path, split as the kernel
// would walk it (no lexical clean-up: "link/.." is not "").
std::pair<QByteArray, QByteArray> splitLast(const QByteArray &path);

struct stat statusOf(int fd, const QString &path);
FileId idOf(const struct stat &status);
Kind kindOf(mode_t mode);

} // namespace tamrivel::platform::posix
