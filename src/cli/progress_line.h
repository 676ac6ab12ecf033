#pragma once

#include "split/watchers.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace tamrivel::cli {

// A one-line progress display on a terminal's stderr. It stays silent for the
// first second, so that small files print nothing, and entirely when stderr
// is not a terminal, so that scripts and logs stay clean.
class ProgressLine {
public:
    ProgressLine(const QString &what, std::FILE *to = stderr, qint64 quietMs = 1000);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // Ends the line, so that what is printed next starts on its own.
    void end();

    ProgressFn callback();
    // For Watchers::waiting: says which folder the run waits for.
    std::function<void(const QString &folder)> waitingCallback();
    // For Watchers::inUse: says which output another program holds open.
    std::function<void(const QString &output)> inUseCallback();

private:
    void show(qint64 done, qint64 total);
    // Shows `waitingFor` in place of the progress, once for each new one.
    void showWaiting(const QString &waitingFor);

    QString m_what;
    std::FILE *m_to;
    qint64 m_quietMs;
    bool m_enabled;
    bool m_shown = false;
    qint64 m_lastShownAt = 0;
    QElapsedTimer m_clock;
    QString m_waitingFor;
};

} // namespace tamrivel::cli
