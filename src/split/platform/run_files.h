#pragma once

#include <QString>

namespace tamrivel::platform {

// The files a run keeps beside its outputs while it works (new files before
// they are in place, old ones until the set is complete) are hidden and
// named after the output, this machine, this process and a random token. The
// names are for people reading a folder and for telling our files from
// theirs; whether a run is still alive only its hold on a file can tell,
// since neither a process number (another PID namespace) nor a host name (a
// cloned machine) is proof of anything.

// The tail of such a name: ".tamrivel-MACHINE-PROCESS-TOKEN".
QString runFileTail();

// Whether `entry` (a name in a folder) has exactly the form of a run file of
// this machine's runs: a user's file that merely resembles one does not.
bool isRunFileName(const QString &entry);

} // namespace tamrivel::platform
