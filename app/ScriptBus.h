#pragma once

#include "ScriptOperations.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class ProfileStore;
class QDBusServiceWatcher;

// The script operations on the user's session bus, for programs that keep a connection
// rather than start a command each time. The interface is described once, in
// packaging/dbus/org.q7config.q7config.Mouse.xml; the adaptor made from it calls the slots
// here by their bus names.
//
// The program's bus name is shared with the other objects the program registers (the KWin
// script's sink): it is taken only when the connection does not hold it yet, taken again
// when the one that held it let it go, and let go only when nothing else of the program
// still answers under it.
class ScriptBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(int CurrentProfile READ currentProfile)
    Q_PROPERTY(bool MouseLinked READ mouseLinked)
public:
    static const QString serviceName;
    static const QString objectPath;
    static const QString interfaceName;

    // `ready`: whether the window may carry an operation out now; until it may (a refill
    // reads the mouse, a question about edits made without it is up), calls wait for it.
    ScriptBus(ScriptOperations &operations, ProfileStore &store, std::function<bool()> ready,
              QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~ScriptBus() override;

    // False without a session bus, or when the object or the name cannot be had; the program
    // runs as before.
    bool start();
    void stop();

    int currentProfile() const { return last.currentProfile; }
    bool mouseLinked() const { return last.mouseFound; }

    // The error of each code an operation answers.
    static QString errorName(int code);

public Q_SLOTS:
    QString Status();
    QString SetProfile(int profile);
    QString ExportProfile(int profile, const QString &path);
    QString ImportProfile(int profile, const QString &path);
    QString SetValue(const QString &setting, const QString &value, int profile);

Q_SIGNALS:
    void Changed(int currentProfile, const QList<int> &profiles);

private:
    // The call is answered once the operation has run, the window being ready for it.
    QString answerLater(std::function<ScriptResult()> operation);
    void answerWhenReady(const QDBusMessage &call, const std::function<ScriptResult()> &operation);
    void claimName();
    // Once per turn of the event loop however many changes the store made in it.
    void storeTouched();
    void compare();

    ScriptOperations &operations;
    ProfileStore &store;
    std::function<bool()> ready;
    QDBusConnection bus;
    QDBusServiceWatcher *watcher = nullptr;
    ScriptStatus last;
    bool registered = false;
    bool ownsName = false;
    bool comparePending = false;
};
