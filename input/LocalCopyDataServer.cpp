#include "LocalCopyDataServer.h"

#include "CopyData.h"
#include "CopyDataFrame.h"
#include "CopyDataReceiver.h"
#include "InputHooks.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtDebug>

#include <algorithm>
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

bool PendingCopyData::add(quint64 tag, const QByteArray &bytes) {
    if (tag == copyDataProfileTag)
        queue.erase(std::remove_if(queue.begin(), queue.end(),
                                   [](const Message &m) { return m.tag == copyDataProfileTag; }),
                    queue.end());
    if (queue.size() >= std::size_t(capacity))
        return false;
    queue.push_back({tag, bytes});
    return true;
}

std::optional<PendingCopyData::Message> PendingCopyData::take() {
    if (queue.empty())
        return std::nullopt;
    Message m = std::move(queue.front());
    queue.pop_front();
    return m;
}

void LocalCopyDataServer::acceptConnections() {
    while (QLocalSocket *socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] {
            --open;
            reading.erase(std::remove(reading.begin(), reading.end(), socket), reading.end());
        });
        ++open;
        if (reading.size() >= std::size_t(maxConnections))
            refuse(reading.front());
        reading.push_back(socket);
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
void stopReading(QLocalSocket *socket, QObject *server, std::deque<QLocalSocket *> &reading) {
    QObject::disconnect(socket, &QLocalSocket::readyRead, server, nullptr);
    if (QTimer *timer = socket->findChild<QTimer *>())
        timer->stop();
    reading.erase(std::remove(reading.begin(), reading.end(), socket), reading.end());
}
} // namespace

void LocalCopyDataServer::refuse(QLocalSocket *socket) {
    stopReading(socket, this, reading);
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

    stopReading(socket, this, reading);
    socket->setProperty(bufferProperty, QVariant());
    if (tag == copyDataCommandTag) {
        answerCommand(socket, buffer.mid(CopyDataFrame::headerSize));
        return;
    }
    socket->write(&CopyDataFrame::acceptedReply, 1);
    socket->flush();
    socket->disconnectFromServer();

    // The box runs its own event loop; handing messages on from a later turn of the loop keeps
    // this connection's handling short and lets other senders be refused or served meanwhile.
    const bool wasIdle = pending.isEmpty();
    if (!pending.add(tag, buffer.mid(CopyDataFrame::headerSize)))
        ++dropped;
    if (wasIdle && !pending.isEmpty())
        QMetaObject::invokeMethod(this, &LocalCopyDataServer::deliverNext, Qt::QueuedConnection);
}

// The script waits on its connection for the outcome; carried out from the event loop's next
// turn, like every other message, and answered only if the script still listens.
void LocalCopyDataServer::answerCommand(QLocalSocket *socket, const QByteArray &request) {
    QPointer<QLocalSocket> guard(socket);
    auto answer = [guard](const QByteArray &reply) {
        if (!guard)
            return;
        guard->write(CopyDataFrame::encode(copyDataCommandTag, reply));
        guard->flush();
        guard->disconnectFromServer();
    };
    QMetaObject::invokeMethod(
        this,
        [request, answer] {
            if (const CopyDataCommandHandler &handler = copyDataCommandHandler())
                handler(request, answer);
            else
                answer(QByteArray());
        },
        Qt::QueuedConnection);
}

void LocalCopyDataServer::deliverNext() {
    if (dropped > 0) {
        qDebug("q7config: %lld messages dropped, more than %d were waiting", dropped,
               PendingCopyData::capacity);
        dropped = 0;
    }
    const std::optional<PendingCopyData::Message> next = pending.take();
    if (!next)
        return;
    // Before handing on: a warning box waits in its own loop, and the rest must reach it.
    if (!pending.isEmpty())
        QMetaObject::invokeMethod(this, &LocalCopyDataServer::deliverNext, Qt::QueuedConnection);
    CopyDataMessage message;
    message.dwData = quintptr(next->tag);
    message.cbData = quint32(next->bytes.size());
    message.lpData = next->bytes.constData();
    InputHooks::copyDataEvent(message);
}

QObject *createCopyDataReceiver(QCoreApplication *app) {
    return new LocalCopyDataServer(
        CopyDataFrame::serverName(QCoreApplication::applicationFilePath()), app);
}
