#pragma once

#include "runtime/runtime_error.h"

#include <QString>
#include <QStringList>
#include <QTemporaryFile>

#include <atomic>
#include <functional>

namespace tamrivel::cli {

// `-` is standard input where a verb reads its one source, and standard
// output where it writes its one image; a file of that name is ./-.
inline bool isStandardStream(const QString &file)
{
    return file == QLatin1String("-");
}

// Raises UsageError when one of `files`, which `verb` opens by name as its
// `role` (its PARTs, its OUTPUTs, ...), is `-`, rather than take a file of
// that name.
void refuseStandardStreams(const QStringList &files, const QString &verb, const QString &role);

// Standard input read to its end into a private temporary file: the engine
// reads a source by its name, learns its size and format first, and checks
// that it does not change while it is read. Removed with this object.
class StandardInputCopy {
public:
    // Raises Cancelled when `stop` is set while it reads.
    explicit StandardInputCopy(const std::atomic<bool> *stop);

    QString path() const { return m_file.fileName(); }

private:
    QTemporaryFile m_file;
};

// Writes the file at `path` to standard output as it is. Raises DeviceIo
// naming standard output when a write fails (a reader gone, a full disk).
void copyToStandardOutput(const QString &path, const std::atomic<bool> *stop);

// Runs `work` on `temporary`, the file standing for the stream named
// `stream`: an error it raises naming the temporary file names the stream,
// the only one the user knows of.
void standingFor(const QString &temporary, const QString &stream, const std::function<void()> &work);

// What errors and reports call the streams.
inline QString standardInputName()
{
    return RuntimeError::tr("standard input");
}
inline QString standardOutputName()
{
    return RuntimeError::tr("standard output");
}

} // namespace tamrivel::cli
