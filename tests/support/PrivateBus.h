#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

// A session bus of the test's own; the user's is never touched. Programs the test starts
// join it through DBUS_SESSION_BUS_ADDRESS = address.
class PrivateBus {
public:
    bool start() {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address")});
        if (!daemon.waitForStarted())
            return false;
        while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        return !address.isEmpty();
    }
    ~PrivateBus() {
        for (const QString &name : std::as_const(names))
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished();
    }
    // A connection of its own each time, as another client of the bus would have.
    QDBusConnection connect() {
        static int serial = 0;
        names << QStringLiteral("q7-test-%1").arg(++serial);
        return QDBusConnection::connectToBus(address, names.last());
    }
    qint64 pid() const { return daemon.processId(); }

    QString address;

private:
    QProcess daemon;
    QStringList names;
};
