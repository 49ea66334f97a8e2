#include "LocalCopyDataServer.h"

#include "CopyDataFrame.h"
#include "CopyDataReceiver.h"
#include "InputHooks.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>
#include <QtDebug>

#include <limits>

namespace {
const char *bufferProperty = "q7CopyDataBuffer";
}

LocalCopyDataServer::LocalCopyDataServer(const QString &name, QObject *parent) : QObject(parent) {
    server.setSocketOptions(QLocalServer::UserAccessOption);
    server.setMaxPendingConnections(maxConnections);
    connect(&server, &QLocalServer::newConnection, this, &LocalCopyDataServer::acceptConnections);
    // The single-instance guard has already made this the only copy, so a socket file left
    // behind belongs to a copy that died.
    if (!server.listen(name)) {
        QLocalServer::removeServer(name);
        if (!server.listen(name))
            qWarning("Cannot receive messages for the running copy: %s",
                     qPrintable(server.errorString()));
    }
}

void LocalCopyDataServer::acceptConnections() {
    while (QLocalSocket *socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this] { --open; });
        ++open;
        if (open > maxConnections) {
            refuse(socket);
            continue;
        }
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, socket] { refuse(socket); });
        timer->start(frameTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrame(socket); });
        readFrame(socket);
    }
}

namespace {
// Stops reading and the stall timer; the connection's count is kept until the socket is gone.
void stopReading(QLocalSocket *socket, QObject *server) {
    QObject::disconnect(socket, &QLocalSocket::readyRead, server, nullptr);
    if (QTimer *timer = socket->findChild<QTimer *>())
        timer->stop();
}
} // namespace

void LocalCopyDataServer::refuse(QLocalSocket *socket) {
    stopReading(socket, this);
    socket->abort();
    socket->deleteLater();
    emit frameRefused();
}

void LocalCopyDataServer::readFrame(QLocalSocket *socket) {
    if (socket->state() != QLocalSocket::ConnectedState && socket->bytesAvailable() == 0)
        return;
    QByteArray buffer = socket->property(bufferProperty).toByteArray();
    if (buffer.size() < CopyDataFrame::headerSize)
        buffer += socket->read(CopyDataFrame::headerSize - buffer.size());
    if (buffer.size() < CopyDataFrame::headerSize) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }
    quint64 tag = 0;
    quint32 length = 0;
    CopyDataFrame::decodeHeader(buffer.constData(), tag, length);
    if (length > CopyDataFrame::maxLength || tag > std::numeric_limits<quintptr>::max()) {
        refuse(socket);
        return;
    }
    const qsizetype frameSize = CopyDataFrame::headerSize + qsizetype(length);
    if (buffer.size() < frameSize)
        buffer += socket->read(frameSize - buffer.size());
    if (buffer.size() < frameSize) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }

    stopReading(socket, this);
    socket->setProperty(bufferProperty, QVariant());
    socket->write(&CopyDataFrame::acceptedReply, 1);
    socket->flush();
    socket->disconnectFromServer();

    // The box runs its own event loop; showing it from a later turn of the loop keeps this
    // connection's handling short and lets other senders be refused or served meanwhile.
    const QByteArray bytes = buffer.mid(CopyDataFrame::headerSize);
    QMetaObject::invokeMethod(
        this,
        [tag, bytes] {
            CopyDataMessage message;
            message.dwData = quintptr(tag);
            message.cbData = quint32(bytes.size());
            message.lpData = bytes.constData();
            InputHooks::copyDataEvent(message);
        },
        Qt::QueuedConnection);
}

QObject *createCopyDataReceiver(QCoreApplication *app) {
    return new LocalCopyDataServer(
        CopyDataFrame::serverName(QCoreApplication::applicationFilePath()), app);
}
