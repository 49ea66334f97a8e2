#pragma once

#include "ActiveWindowSource.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

class ActiveWindowSink;

// KWin on Wayland tells no client which window is active; a script loaded into it does. The
// script calls back to the program's bus name whenever activation changes. Only the process
// that owns org.kde.KWin is believed: any client of the session bus could call the same path.
class KWinActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    explicit KWinActiveWindowSource(QDBusConnection bus = QDBusConnection::sessionBus(),
                                    QObject *parent = nullptr);
    ~KWinActiveWindowSource() override;

    // KWin runs on this bus and takes scripts.
    static bool available(const QDBusConnection &bus);
    // The script in the program's data folder.
    static QString scriptFile();

    bool start() override;
    void stop() override;
    QString kind() const override { return QStringLiteral("kwin"); }

private:
    friend class ActiveWindowSink;
    // One call of the script, as it came over the bus; whatever does not fit is dropped.
    void receive(const QString &sender, const QVariantList &arguments);
    bool loadScript();
    void unloadScript();
    void release();

    QDBusConnection bus;
    QString kwinOwner;
    ActiveWindowSink *sink = nullptr;
    bool ownsName = false;
};
