#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <functional>

namespace tamrivel {

// Called after each block with the bytes done so far and the expected total
// (0 when the total cannot be known, as for a pipe).
using ProgressFn = std::function<void(qint64 done, qint64 total)>;

// Sees the bytes written to output `index`, in order, as they are written.
using OutputTap = std::function<void(int index, const char *data, qsizetype length)>;

// What a caller may watch while a split or join runs.
struct Watchers {
    ProgressFn progress;
    OutputTap written;
    // Set from any thread to abandon the operation: it stops at the next block
    // and raises Cancelled, leaving every existing file as it was.
    const std::atomic<bool> *stop = nullptr;
    // Told, now and then, while the outputs wait for another run to finish
    // with their folder.
    std::function<void(const QString &folder)> waiting = nullptr;
    // Told, now and then, while an output waits for another program (a virus
    // scanner, the search indexer) to let go of its file, with its name.
    std::function<void(const QString &output)> inUse = nullptr;
    // Called with the outputs' names once every one is written in full and
    // on the disk, just before they take the old files' places: what is told
    // of them (a report a script reads) is told first, and an error raised
    // there leaves every file as it was.
    std::function<void(const QStringList &outputs)> beforeReplacing = nullptr;
    // Told of each record part a join fills past its last record to fit the
    // others, as a programmer that left out trailing erased bytes needs, with
    // the bytes added: the user must hear that bytes were made up.
    std::function<void(const QString &part, qint64 bytes)> filled = nullptr;
};

} // namespace tamrivel
