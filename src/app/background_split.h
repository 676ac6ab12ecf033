#pragma once

#include "runtime/runtime_error.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace tamrivel {

// Runs the window's split on a thread of its own, so that the event loop goes
// on meanwhile, and reports its end back on the GUI thread.
class BackgroundSplit : public QObject {
public:
    // Called on the GUI thread when the split has ended; `error` is empty
    // when it succeeded.
    using Ended = std::function<void(const std::optional<RuntimeError> &error)>;

    BackgroundSplit() = default;
    // A split still running is abandoned, and waited for: it stops within one
    // block, and every file is left as it was.
    ~BackgroundSplit() override;
    BackgroundSplit(const BackgroundSplit &) = delete;
    BackgroundSplit &operator=(const BackgroundSplit &) = delete;

    void start(const QString &source, const QString &even, const QString &odd, Ended ended);

private:
    void finish(const std::optional<RuntimeError> &error);

    std::atomic<bool> m_stop = false;
    std::thread m_worker;
    Ended m_ended;
};

} // namespace tamrivel
