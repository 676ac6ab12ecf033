#pragma once

#include "split/platform/platform.h"

#include <QString>

#include <utility>

#include <windows.h>

// What the other Windows files share of the file services: errors from the
// system's codes, handles, and the paths the system's calls take.
namespace tamrivel::platform::win32 {

[[noreturn]] void raise(const QString &path, ErrorNumber fallback, DWORD err);
[[noreturn]] void raise(const QString &path, ErrorNumber fallback = ErrorNumber::DeviceIo);

HANDLE handleOf(const File &file);

const wchar_t *wide(const QString &text);

// The absolute path that Windows' own rules make of what the user wrote:
// "\" or "/", relative to the current folder or to a drive's own ("C:rom.bin"),
// "." and "..", trailing dots and spaces dropped.
QString fullPath(const QString &path);

// What the file calls take: a full path behind "\\?\", which lifts the limit
// of 260 characters (and turns off all rewriting, hence full paths only).
QString longForm(const QString &full);

// The folder of a full path and its last component; a drive's root keeps
// its backslash ("C:" alone would mean the current folder on C:).
std::pair<QString, QString> splitLast(const QString &full);

QString joined(const QString &folder, const QString &name);

// True for a name that Windows' own rules make a device ("NUL", "com1.bin",
// "CONOUT$", in any folder) though it was not written as one ("\\.\COM1").
// Asked of the text alone (`full` is what fullPath made of it): finding out
// must never open a serial port.
bool takenForDevice(const QString &path, const QString &full);

// The full path of the file a name stands for. A name that Windows takes for
// a device stays the file of that name in its folder (one copied from a FAT
// stick or a share), reached through the long form, which has no devices.
// A ":" after the name would reach a stream inside another file: refused.
QString filePath(const QString &path);

bool isDisk(const File &file);

bool informationOf(const File &file, BY_HANDLE_FILE_INFORMATION &info);

// The reverse of longForm, for names that users see.
QString plainForm(const QString &path);

// Where links and junctions really lead, or `fallback` where the file
// system cannot say.
QString finalPathOf(const File &file, const QString &fallback);

// Which file an open disk file is: by the 128-bit id the file system keeps
// (ReFS's 64-bit index is not unique), else by its 64-bit index (`info`);
// on FAT and exFAT, which number a file afresh when it is renamed, by the
// path the system resolves for it.
FileId idOf(const File &file, const BY_HANDLE_FILE_INFORMATION &info);

// A console, pipe or device has no file index: it is known by its name.
FileId deviceId(const QString &full);

} // namespace tamrivel::platform::win32
