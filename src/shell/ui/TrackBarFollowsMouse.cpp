// SPDX-License-Identifier: MIT
#include "shell/ui/TrackBarFollowsMouse.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QWheelEvent>

#include "shell/TrackBarInput.h"

namespace trelvik::shell {

namespace {

// The list, edit or picker a wheel message landed on, the picker itself when it landed on the
// picker's own edit; null for anything else.
QWidget* valueControlAt(QObject* watched, const QWidget* window) {
    QWidget* control = nullptr;
    for (auto* widget = qobject_cast<QWidget*>(watched); widget && widget != window;
         widget = widget->parentWidget())
        if (qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
            qobject_cast<QLineEdit*>(widget))
            control = widget;
    return control;
}

} // namespace

TrackBarFollowsMouse::TrackBarFollowsMouse(QWidget* window) : QObject(window), m_window(window->window()) {
    // Qt offers a wheel to the widget under the mouse and then to its parents, never to the
    // focused widget; only an application-wide look sees it wherever it lands.
    qApp->installEventFilter(this);
}

void TrackBarFollowsMouse::AppIdleHandler(QWidget* underMouse) {
    if (underMouse == nullptr || underMouse->window() != m_window) return;
    auto* bar = qobject_cast<QSlider*>(underMouse);
    const bool hasFocus = bar != nullptr && m_window->focusWidget() == bar;
    if (AppIdleTakesFocus(bar != nullptr ? ControlKind::TrackBar : ControlKind::Other, hasFocus))
        bar->setFocus(Qt::MouseFocusReason);
}

bool TrackBarFollowsMouse::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != m_window) return false;
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        // The window's focus widget, not the application's: X11 sends the wheel to a window
        // that is not active, and its bar is the one the user last pointed at.
        auto* bar = qobject_cast<QSlider*>(m_window->focusWidget());
        int distance = wheel->angleDelta().y();
        if (distance == 0) distance = wheel->pixelDelta().y();
        const WheelOutcome outcome =
            FormMouseWheel(bar != nullptr ? ControlKind::TrackBar : ControlKind::Other,
                           bar != nullptr ? TrackBarPosition{bar->value(), bar->minimum(), bar->maximum()}
                                          : TrackBarPosition{},
                           distance);
        idleSoon();
        if (outcome.handled) {
            bar->setValue(outcome.position);
            return true;
        }
        // Qt gives the wheel to the control under the mouse. A list or picker the user is not
        // on would change a setting unseen, and the next Save would write it.
        if (QWidget* control = valueControlAt(watched, m_window)) {
            const QWidget* focus = m_window->focusWidget();
            return !(focus && (focus == control || control->isAncestorOf(focus)));
        }
        return qobject_cast<QSlider*>(watched) != nullptr;
    }
    case QEvent::MouseMove:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        idleSoon();
        return false;
    default:
        return false;
    }
}

// Qt has no idle event; a zero timer runs once the events queued now are handled, which is
// when the queue has run empty after a burst of input.
void TrackBarFollowsMouse::idleSoon() {
    if (m_idlePending) return;
    m_idlePending = true;
    QTimer::singleShot(0, this, [this] {
        m_idlePending = false;
        AppIdleHandler(QApplication::widgetAt(QCursor::pos()));
    });
}

} // namespace trelvik::shell
