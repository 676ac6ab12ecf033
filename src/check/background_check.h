#pragma once

#include "dump_row.h"
#include "runtime/runtime_error.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace tamrivel {

// Checks dumps against an image on a thread of its own, so that the window
// repaints and can stop it meanwhile, and hands each result back on the GUI
// thread as it comes. A dump that cannot be read gets a row saying so and
// the others are still checked; an image that cannot be read ends the check.
class BackgroundCheck : public QObject {
public:
    struct Request {
        QString image;
        QStringList dumps;
        qint64 chipSize = 0; // 0: any chip
    };
    // Each on the GUI thread: the image's sums, then each dump's row in the
    // order asked, then the end, with the first error met if any.
    struct Reports {
        std::function<void(const ByteSums &)> image;
        std::function<void(const DumpRow &)> row;
        std::function<void(const std::optional<RuntimeError> &)> ended;
    };

    BackgroundCheck() = default;
    // A check still running is stopped and waited for.
    ~BackgroundCheck() override;
    BackgroundCheck(const BackgroundCheck &) = delete;
    BackgroundCheck &operator=(const BackgroundCheck &) = delete;

    void start(const Request &request, Reports reports);
    // Ends the check at the next block; it then ends with Cancelled.
    void stop() { m_stop = true; }

private:
    void run(const Request &request);
    template <typename Report>
    void post(Report report);

    std::atomic<bool> m_stop = false;
    std::thread m_worker;
    Reports m_reports;
};

} // namespace tamrivel
