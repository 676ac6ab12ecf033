#pragma once

#include <QString>
#include <QStringList>

namespace tamrivel {

// Each raises the error a user should see before any file is opened, so that a
// typo never leaves a half-made file behind.

// Empty, NUL-bearing or malformed UTF-16 text cannot name a file.
void checkPathText(const QString &path);

// The source must be an existing file (or device) in an existing folder.
void checkSource(const QString &path);

// An output's folder must exist, and the output must not be a folder.
void checkOutput(const QString &path);

// Refuses any two of `paths` that name the same file, however spelt
// (relative, "..", symbolic or hard links).
void refuseSameFiles(const QStringList &paths);

// True when `path` exists and is not a regular file (a FIFO, a device): such
// an output cannot be replaced and is written in place.
bool isSpecialFile(const QString &path);

} // namespace tamrivel
