// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace trelvik::shell {

// Keeps one tool running per user: the first start listens on a local socket named after
// "Trelvik_Exe"; a later start asks it to come to the front and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // Example name: "Trelvik_Exe-alice".
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultName();

    // True when another instance answered and was asked to come to the front: this start
    // should end with exit code 0. False when no other instance listens yet; then this one
    // runs in full, even if the other is still starting.
    bool askRunningInstanceToFront(int timeoutMs = 500);

    // Starts answering later starts; call once the window exists, since only a window can be
    // brought to the front. False when another instance already listens.
    bool listen();

signals:
    // A request that arrives before anything is connected here (the window still starting) is
    // kept and emitted, once, as soon as a receiver connects.
    void bringToFrontRequested();

protected:
    void connectNotify(const QMetaMethod& signal) override;

private:
    void onNewConnection();
    void request();

    bool m_pending = false;
    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace trelvik::shell
