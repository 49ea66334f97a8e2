#pragma once

class QCoreApplication;
class QObject;

// Starts receiving messages for the running copy and hands each to InputHooks::copyDataEvent.
// The receiver is a child of app, so it goes away with the application.
QObject *createCopyDataReceiver(QCoreApplication *app);
