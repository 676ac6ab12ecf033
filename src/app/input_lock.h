#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace tamrivel {

// While it lives, the user's input to `controls` is dropped, not queued:
// clicks, keys, access keys (Alt+S), the wheel, context menus and drops. The
// controls keep their look, since nothing in the window is ever greyed out.
class InputLock : public QObject {
public:
    explicit InputLock(const QList<QWidget *> &controls);
    ~InputLock() override;
    InputLock(const InputLock &) = delete;
    InputLock &operator=(const InputLock &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QWidget>> m_controls;
};

} // namespace tamrivel
