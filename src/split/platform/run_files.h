#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tamrivel::platform {

// The files a run keeps beside its outputs while it works (new files before
// they are in place, old ones until the set is complete) are hidden and
// named after the output, this machine and this process, so that a later run
// can tell the leftovers of a run that died from the work of a live one.

// The tail of such a name: ".tamrivel-MACHINE-PROCESS-RANDOM".
QString runFileTail();

// The process that left `entry` (a name in a folder), when it is one of
// these names and was made on this machine; a process of another machine
// sharing the folder is never judged from here.
std::optional<qint64> runFileOwner(const QString &entry);

} // namespace tamrivel::platform
