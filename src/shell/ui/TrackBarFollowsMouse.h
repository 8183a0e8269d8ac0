// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QWidget;

namespace trelvik::shell {

// Track bars (QSliders) of one window follow the mouse: the bar the mouse rests on takes the
// keyboard focus, and each wheel message moves the focused bar one step. Qt's own slider
// wheel handling (several steps a notch, and only for the bar under the mouse) is swallowed,
// so the rules of shell/TrackBarInput.h are the only ones that move a bar by wheel.
class TrackBarFollowsMouse final : public QObject {
    Q_OBJECT
public:
    // Watches every widget of `window`'s window for as long as this object lives.
    explicit TrackBarFollowsMouse(QWidget* window);

    // The idle rule for the widget under the mouse (null: none). Runs by itself once the
    // input queue has run empty; tests call it with the widget they point at.
    void AppIdleHandler(QWidget* underMouse);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void idleSoon();

    QWidget* m_window;
    bool m_idlePending = false;
};

} // namespace trelvik::shell
