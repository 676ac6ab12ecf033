#pragma once

#include <QStringList>

#include <optional>

class QMimeData;

namespace tamrivel {

// The file that a drop names, as the Open dialog gives one: its full path,
// written the system's way. None unless the drop carries exactly one
// address, and that address is a file on this machine that exists: several
// files, a folder, a web address or bare text name no source.
std::optional<QString> droppedFile(const QMimeData &dropped);

// The files that a drop names, the same way; none unless every address is
// a file on this machine that exists.
QStringList droppedFiles(const QMimeData &dropped);

} // namespace tamrivel
