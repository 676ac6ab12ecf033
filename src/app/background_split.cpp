#include "background_split.h"

#include "window_split.h"

namespace tamrivel {

BackgroundSplit::~BackgroundSplit()
{
    if (m_worker.joinable()) {
        m_stop = true;
        m_worker.join();
    }
}

void BackgroundSplit::start(const QString &source, const QString &even, const QString &odd, Ended ended)
{
    Q_ASSERT(!m_worker.joinable());
    m_ended = std::move(ended);
    m_stop = false;
    m_worker = std::thread([this, source, even, odd] {
        std::optional<RuntimeError> error;
        try {
            splitFromFields(source, even, odd, m_stop);
        } catch (const std::exception &raised) {
            error = RuntimeError::from(raised);
        }
        // Dropped unread if this object is destroyed first.
        QMetaObject::invokeMethod(
            this, [this, error] { finish(error); }, Qt::QueuedConnection);
    });
}

void BackgroundSplit::finish(const std::optional<RuntimeError> &error)
{
    m_worker.join();
    std::exchange(m_ended, {})(error);
}

} // namespace tamrivel
