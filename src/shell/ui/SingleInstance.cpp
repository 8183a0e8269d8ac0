// SPDX-License-Identifier: MIT
#include "shell/ui/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaMethod>
#include <QStandardPaths>
#include <QTimer>

#include "debuglog/DebugLog.h"

namespace trelvik::shell {

namespace {
constexpr char kRequest[] = "999\n"; // the bring-to-front request
constexpr char kHeard[] = "ok\n";    // the answer of the instance that heard it

// Whether a live instance listens on `name`: only a live one accepts a connection.
bool answers(const QString& name, int timeoutMs) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(timeoutMs);
}
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), m_name(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName() {
    // Sockets live in one folder for all users; the user's name keeps each user's tool apart,
    // as a per-session mutex does on Windows.
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QDir::home().dirName();
    return QStringLiteral("Trelvik_Exe-") + user;
}

bool SingleInstance::askRunningInstanceToFront(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRequest);
    socket.waitForBytesWritten(timeoutMs);
    // Ending the connection before the first instance has read the request may lose it (a
    // Windows pipe drops what its reader has not taken): wait for its answer, briefly.
    socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    // On Windows a second server of a name listens beside the first (a named pipe has many
    // instances), so a live instance is looked for before listening, on every system.
    if (answers(m_name, 200)) return false;
    m_server = new QLocalServer(this);
    if (!m_server->listen(m_name)) {
        // A socket file left by a crashed instance answers nobody; take its place. One that
        // answers belongs to a live instance, which we leave alone.
        if (answers(m_name, 200)) return false;
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // The request may already be buffered, or arrive with the socket's end: look each time.
        auto readRequest = [this, socket] {
            if (socket->bytesAvailable() > 0 && socket->readAll().contains("999")) {
                debuglog::DebugLog("another start asked to bring the window to the front\n");
                socket->write(kHeard);
                request();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        connect(socket, &QLocalSocket::disconnected, this, [socket, readRequest] {
            readRequest();
            socket->deleteLater();
        });
        readRequest();
    }
}

void SingleInstance::request() {
    if (isSignalConnected(QMetaMethod::fromSignal(&SingleInstance::bringToFrontRequested)))
        emit bringToFrontRequested();
    else
        m_pending = true;
}

void SingleInstance::connectNotify(const QMetaMethod& signal) {
    if (!m_pending || signal != QMetaMethod::fromSignal(&SingleInstance::bringToFrontRequested)) return;
    m_pending = false;
    // After the connect returns, so the receiver is complete when it hears.
    QTimer::singleShot(0, this, [this] { emit bringToFrontRequested(); });
}

} // namespace trelvik::shell
