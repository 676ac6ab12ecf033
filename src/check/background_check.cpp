#include "background_check.h"

#include <utility>

namespace tamrivel {

BackgroundCheck::~BackgroundCheck()
{
    if (m_worker.joinable()) {
        m_stop = true;
        m_worker.join();
    }
}

void BackgroundCheck::start(const Request &request, Reports reports)
{
    Q_ASSERT(!m_worker.joinable());
    m_reports = std::move(reports);
    m_stop = false;
    m_worker = std::thread([this, request] { run(request); });
}

// Dropped unread if this object is destroyed first.
template <typename Report>
void BackgroundCheck::post(Report report)
{
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

void BackgroundCheck::run(const Request &request)
{
    std::optional<RuntimeError> firstError;
    try {
        const ByteSums imageSums = sumsOfFile(request.image, &m_stop);
        post([this, imageSums] { m_reports.image(imageSums); });
        // One dump at a time, so that each row shows as soon as it is known
        // and one dump that cannot be read spoils no other.
        for (const QString &dump : request.dumps) {
            DumpRow row;
            try {
                const DumpIdentity identity =
                    identifyDumps(request.image, {dump}, &m_stop, InputFile::Reading::Image, request.chipSize)
                        .constFirst();
                row = dumpRow(identity, sumsOfFile(dump, &m_stop));
            } catch (const std::exception &raised) {
                const RuntimeError error = RuntimeError::from(raised);
                if (error.number() == ErrorNumber::Cancelled || error.path() == request.image)
                    throw;
                row = unreadableRow(dump, error);
                if (!firstError)
                    firstError = error;
            }
            post([this, row] { m_reports.row(row); });
        }
    } catch (const std::exception &raised) {
        firstError = RuntimeError::from(raised);
    }
    post([this, firstError] {
        m_worker.join();
        std::exchange(m_reports.ended, {})(firstError);
    });
}

} // namespace tamrivel
