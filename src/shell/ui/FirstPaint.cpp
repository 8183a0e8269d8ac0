// SPDX-License-Identifier: MIT
#include "shell/ui/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace trelvik::shell {

namespace {

// The window paints inside start-up, before the event loop runs, where quitting would be
// lost: ending waits until a loop is there to end.
void quitOnceLooping() {
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
    else
        QTimer::singleShot(0, qApp, quitOnceLooping);
}

class FirstPaintWatch final : public QObject {
public:
    explicit FirstPaintWatch(QWidget& window) : QObject(&window), m_window(window) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != &m_window)
            return false;
        qApp->removeEventFilter(this);
        // Reported once the whole paint of the window is done, not when its first widget starts.
        QTimer::singleShot(0, qApp, [] {
            std::fputs("first paint\n", stdout);
            std::fflush(stdout);
            quitOnceLooping();
        });
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

void exitAfterFirstPaintWhenAsked(QWidget& window) {
    if (qEnvironmentVariable("TRELVIK_EXIT_AFTER_FIRST_PAINT") == QLatin1String("1"))
        new FirstPaintWatch(window);
}

} // namespace trelvik::shell
