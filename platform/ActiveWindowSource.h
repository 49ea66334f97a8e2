#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The application the user is working in, as far as the desktop tells it.
struct ActiveWindowInfo {
    QString instance;    // first part of the window class (the resource name)
    QString windowClass; // second part of the window class
    QString executable;  // file name of the program that owns the window; empty if unknown
    qint64 pid = 0;

    bool isNull() const { return instance.isEmpty() && windowClass.isEmpty() && executable.isEmpty(); }
    bool operator==(const ActiveWindowInfo &o) const {
        return instance == o.instance && windowClass == o.windowClass && executable == o.executable &&
               pid == o.pid;
    }
    bool operator!=(const ActiveWindowInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(ActiveWindowInfo)

struct DesktopSession;

// Tells when another application's window becomes the active one. Windows of this process
// are never reported, nor windows that name no application: switching to them leaves the
// last report standing.
class ActiveWindowSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts watching; reports the window active at that moment too. False when this desktop
    // offers nothing to watch (the source then stays silent).
    virtual bool start() = 0;
    virtual void stop() = 0;
    // Which desktop mechanism this is, as the rules list names it: "gnome-shell", "kwin",
    // "x11" or "none".
    virtual QString kind() const = 0;

    // The best source this session offers, started: the first of sourceOrder() whose start
    // succeeds, else one that never reports. Q7_ACTIVE_WINDOW_SOURCE names the one to use
    // (gnome-shell, kwin, x11) or none, for a user who does not want the desktop watched
    // (and to measure what watching costs).
    static std::unique_ptr<ActiveWindowSource> create(QObject *parent = nullptr);
    static std::unique_ptr<ActiveWindowSource> create(const DesktopSession &session,
                                                      QObject *parent = nullptr);

    // The program file's name for a process of this machine: /proc/<pid>/exe, or its
    // command name where the link cannot be read; empty for no such process.
    static QString executableOf(qint64 pid);

Q_SIGNALS:
    void activeWindowChanged(const ActiveWindowInfo &info);
};

// What the session offers for telling the active application, read once at start.
struct DesktopSession {
    QString forced;              // Q7_ACTIVE_WINDOW_SOURCE, lower case
    QString desktop;             // XDG_CURRENT_DESKTOP, upper case
    bool wayland = false;        // a Wayland session (its native windows are not X clients)
    bool x11 = false;            // an X display answers (an X11 session, or XWayland)
    bool gnomeExtension = false; // the program's GNOME Shell extension is on the session bus
    bool kwin = false;           // KWin offers its scripting interface on the session bus

    static DesktopSession current();

    // The sources worth trying, best first: the GNOME extension, KWin, X11. A forced kind
    // is tried alone; "none" or an unknown name tries nothing.
    QStringList sourceOrder() const;
    // Why applications will go unseen with the source chosen, as a key of the rules list's
    // texts, or empty when nothing needs saying. On Wayland an X11 source sees X clients only.
    QString unseenHint(const QString &chosenKind) const;
};

// For sessions with nothing to watch (Wayland without X clients, other systems for now).
class NoActiveWindowSource : public ActiveWindowSource {
    Q_OBJECT
public:
    using ActiveWindowSource::ActiveWindowSource;
    bool start() override { return false; }
    void stop() override {}
    QString kind() const override { return QStringLiteral("none"); }
};
