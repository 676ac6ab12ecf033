#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// For tests only: faults put where the system's own would arise, so that what
// the engine does about them can be seen on any machine. Nothing is installed
// in the programs.
namespace tamrivel::platform {

enum class ReplacementStep { Sync, Place };

struct FaultHook {
    // Called before an output's new file is synced and before it is put in
    // place, with the output's path as given; throwing fails that step.
    std::function<void(ReplacementStep step, const QString &output)> beforeStep;
    // Called after each read with the bytes it got; throwing fails that read.
    std::function<void(const QString &path, qsizetype got)> afterRead;
    // The hidden named temporaries of file systems without unnamed files.
    bool namedTemporaries = false;
    // Windows: the file system every file is taken to be on ("FAT32"), for
    // the ways of telling files apart that only some file systems need.
    QString fileSystem;
};

// Installs `hook` (kept by the caller) until a null one replaces it.
void installFaultHook(const FaultHook *hook);

// What the platform's code asks of the installed hook, if any.
void beforeReplacementStep(ReplacementStep step, const QString &output);
void afterRead(const QString &path, qsizetype got);
bool namedTemporariesWanted();
QString fileSystemPretended();

} // namespace tamrivel::platform
