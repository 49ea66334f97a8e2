#pragma once

// Desktops for the tests that follow the active application: a D-Bus daemon of the test's
// own, and the real compositors this machine has (GNOME Shell 43 headless with the
// program's extension enabled, kwin_wayland 5.27 without a screen), each on its private
// session bus with Wayland clients whose windows the test opens and closes.
//
//   std::unique_ptr<RealDesktop> d = RealDesktop::create("gnome-shell");
//   if (QString why = d->missing(); !why.isEmpty()) QSKIP(qPrintable(why));
//   QVERIFY2(d->start(), d->log().constData()); // up, its active-window service on the bus
//   d->open(d->clients()[0]);                    // focus goes to the newest window
//   d->close(d->clients()[1]);                   // and back to the one before

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>

class ActiveWindowSource;

// A call to GNOME Shell's own object.
QDBusMessage shellCall(const QString &interface, const QString &method, const QVariantList &args);

// Checks a start() that must fail, as every source's must: false within a moment (a hung
// desktop must not stall the window), no report, and no bus name left to `program`. Empty
// when so, else what went wrong.
QString failedStartKeepsNothing(ActiveWindowSource &source, const QDBusConnection &program);

// The user's session bus is never touched: every test that needs one starts this.
class PrivateBus {
public:
    PrivateBus() = default;
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;
    ~PrivateBus();
    bool start();
    // A connection of its own, disconnected when the bus goes.
    QDBusConnection connect();
    qint64 pid() const { return daemon.processId(); }

    QString address;

private:
    QProcess daemon;
    QStringList names;
};

class RealDesktop {
public:
    // "gnome-shell" or "kwin"; null for another name.
    static std::unique_ptr<RealDesktop> create(const QString &kind);
    virtual ~RealDesktop();

    // What this machine lacks to run it, as a reason to skip; empty when nothing.
    virtual QString missing() const = 0;
    // The buses and the compositor, then waits until the program's active-window service
    // (the extension, KWin's scripting) is on the session bus and a window would get focus.
    virtual bool start() = 0;
    // Its clients and the compositor ended.
    void stop();
    // The compositor's output (its last part).
    QByteArray log() const;
    QString busAddress() const { return sessionBus.address; }
    PrivateBus &bus() { return sessionBus; }
    // Two clients this desktop can show, and the window class each one's window reports.
    virtual QStringList clients() const = 0;
    virtual QString windowClass(const QString &client) const = 0;
    // Starts the client; its window takes the focus once mapped. close() kills it.
    QProcess *open(const QString &client);
    void close(const QString &client);
    bool running() const { return compositor.state() == QProcess::Running; }
    // The environment a Wayland client of this desktop runs in.
    virtual QProcessEnvironment clientEnvironment() const = 0;

protected:
    virtual void startClient(QProcess &process, const QString &client) = 0;
    // The compositor started, its output into log().
    bool launch(const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment);
    QString logFile() const { return root.filePath(QStringLiteral("compositor.log")); }

    QTemporaryDir root;
    PrivateBus sessionBus;
    QProcess compositor;
    std::map<QString, std::unique_ptr<QProcess>> clientProcesses;
};
