#include "split/platform/fault_hook.h"

#include <atomic>

namespace tamrivel::platform {
namespace {

// Atomic: a test may run a second operation on another thread while the
// hook is in place.
std::atomic<const FaultHook *> installed{nullptr};

} // namespace

void installFaultHook(const FaultHook *hook)
{
    installed = hook;
}

void beforeReplacementStep(ReplacementStep step, const QString &output)
{
    if (const FaultHook *hook = installed; hook && hook->beforeStep)
        hook->beforeStep(step, output);
}

void afterRead(const QString &path, qsizetype got)
{
    if (const FaultHook *hook = installed; hook && hook->afterRead)
        hook->afterRead(path, got);
}

bool namedTemporariesWanted()
{
    const FaultHook *hook = installed;
    return hook && hook->namedTemporaries;
}

QString fileSystemPretended()
{
    const FaultHook *hook = installed;
    return hook ? hook->fileSystem : QString();
}

} // namespace tamrivel::platform
