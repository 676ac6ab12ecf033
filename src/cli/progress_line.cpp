#include "progress_line.h"

#include "cli/words.h"
#include "split/platform/console.h"

#include <QDir>

namespace tamrivel::cli {

namespace {
constexpr qint64 kRefreshMs = 200;
} // namespace

ProgressLine::ProgressLine(const QString &what, std::FILE *to, qint64 quietMs)
    : m_what(what), m_to(to), m_quietMs(quietMs)
{
    m_enabled = platform::isTerminal(to);
    m_clock.start();
}

ProgressLine::~ProgressLine()
{
    end();
}

void ProgressLine::end()
{
    if (m_shown)
        std::fputs("\n", m_to);
    m_shown = false;
}

ProgressFn ProgressLine::callback()
{
    if (!m_enabled)
        return {};
    return [this](qint64 done, qint64 total) { show(done, total); };
}

std::function<void(const QString &folder)> ProgressLine::waitingCallback()
{
    if (!m_enabled)
        return {};
    return [this](const QString &folder) {
        showWaiting(
            Words::tr("waiting for another run to finish with %1").arg(QDir::toNativeSeparators(folder)));
    };
}

std::function<void(const QString &output)> ProgressLine::inUseCallback()
{
    if (!m_enabled)
        return {};
    return [this](const QString &output) {
        showWaiting(
            Words::tr("waiting for another program to close %1").arg(QDir::toNativeSeparators(output)));
    };
}

void ProgressLine::showWaiting(const QString &waitingFor)
{
    if (m_clock.elapsed() < m_quietMs || waitingFor == m_waitingFor)
        return;
    m_waitingFor = waitingFor;
    m_shown = true;
    platform::writeText(m_to, QLatin1Char('\r') + waitingFor);
    std::fflush(m_to);
}

void ProgressLine::show(qint64 done, qint64 total)
{
    const qint64 now = m_clock.elapsed();
    if (now < m_quietMs || (m_shown && now - m_lastShownAt < kRefreshMs && done < total))
        return;
    m_lastShownAt = now;
    m_shown = true;
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    const QString line = QLatin1Char('\r') + m_what +
        QStringLiteral(": %1% (%2 / %3 MiB)").arg(percent, 3).arg(done >> 20).arg(total >> 20);
    platform::writeText(m_to, line);
    std::fflush(m_to);
}

} // namespace tamrivel::cli
