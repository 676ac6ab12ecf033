#include "input_lock.h"

#include <QEvent>
#include <QWidget>

namespace tamrivel {

InputLock::InputLock(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        control->installEventFilter(this);
        m_controls.append(control);
    }
}

InputLock::~InputLock()
{
    for (const QPointer<QWidget> &control : m_controls) {
        if (control)
            control->removeEventFilter(this);
    }
}

bool InputLock::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: return true;
    default: return false;
    }
}

} // namespace tamrivel
