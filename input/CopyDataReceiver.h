#pragma once

#include <QByteArray>

#include <functional>

class QCoreApplication;
class QObject;

// Starts receiving messages for the running copy and hands each to InputHooks::copyDataEvent.
// The receiver is a child of app, so it goes away with the application.
QObject *createCopyDataReceiver(QCoreApplication *app);

// Where a script's command goes (copyDataCommandTag): its bytes, and the function that sends
// the answer back on the connection, which stays open until it is called (it may be called
// later, from the event loop). Without a handler such a message is answered at once with
// an empty reply.
using CopyDataAnswer = std::function<void(const QByteArray &reply)>;
using CopyDataCommandHandler = std::function<void(const QByteArray &request, CopyDataAnswer answer)>;
void setCopyDataCommandHandler(CopyDataCommandHandler handler);
const CopyDataCommandHandler &copyDataCommandHandler();
