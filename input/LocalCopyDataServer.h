#pragma once

#include <QLocalServer>
#include <QObject>

class QLocalSocket;

// Receives messages for the running copy on a local socket that only this user can open.
// Each connection carries one frame (CopyDataFrame.h); oversized, stalled or surplus
// connections are dropped without reading on, so a misbehaving sender cannot hold up the GUI.
class LocalCopyDataServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxConnections = 8;
    static constexpr int frameTimeoutMs = 5000;

    LocalCopyDataServer(const QString &name, QObject *parent = nullptr);
    bool isListening() const { return server.isListening(); }
    QString fullServerName() const { return server.fullServerName(); }
    // Connections being read now.
    int openConnections() const { return open; }

Q_SIGNALS:
    // After a frame was refused (for tests and diagnostics).
    void frameRefused();

private:
    void acceptConnections();
    void readFrame(QLocalSocket *socket);
    void refuse(QLocalSocket *socket);

    int open = 0; // before the server: its sockets count down as they go with it
    QLocalServer server;
};
