#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>

#include <deque>
#include <optional>

class QLocalSocket;

// Messages taken off the socket and not yet handed on. They wait only while the GUI thread is
// busy (a device exchange), so a burst must not pile up: a profile switch replaces one still
// waiting, since only the last counts, and beyond `capacity` messages more are dropped.
class PendingCopyData {
public:
    struct Message {
        quint64 tag = 0;
        QByteArray bytes;
    };
    static constexpr int capacity = 32;

    // False when the message was dropped.
    bool add(quint64 tag, const QByteArray &bytes);
    std::optional<Message> take();
    bool isEmpty() const { return queue.empty(); }

private:
    std::deque<Message> queue;
};

// Receives messages for the running copy on a local socket that only this user can open.
// Each connection carries one frame (CopyDataFrame.h); oversized or stalled connections are
// dropped without reading on, so a misbehaving sender cannot hold up the GUI. When all slots
// are taken, the oldest connection makes room for the new one: clients that connect and send
// nothing cannot keep the others out.
class LocalCopyDataServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxConnections = 8;
    // A sender writes its frame as soon as it is connected; this is ample for that.
    static constexpr int frameTimeoutMs = 1000;

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
    void answerCommand(QLocalSocket *socket, const QByteArray &request);
    void deliverNext();

    int open = 0; // before the server: its sockets count down as they go with it
    std::deque<QLocalSocket *> reading; // oldest first
    PendingCopyData pending;
    qint64 dropped = 0; // since last said in the debug output
    QLocalServer server;
};
