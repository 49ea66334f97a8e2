// The Plasma back end against a stand-in KWin on a private session bus, and the files it
// writes in the test's own configuration folder; and which desktop the program picks.
#include "KdePointerSystem.h"
#include "PointerDesktop.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {
// One of KWin's input devices with the properties the program reads and writes. The profile
// pair behaves as KWin's: setting one of them false picks the other.
class StandInDevice : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(bool pointer MEMBER pointer)
    Q_PROPERTY(bool touchpad MEMBER touchpad)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(quint32 vendor MEMBER vendor)
    Q_PROPERTY(quint32 product MEMBER product)
    Q_PROPERTY(bool supportsPointerAcceleration MEMBER pointer)
    Q_PROPERTY(bool supportsPointerAccelerationProfileFlat MEMBER pointer)
    Q_PROPERTY(bool supportsPointerAccelerationProfileAdaptive MEMBER pointer)
    Q_PROPERTY(double pointerAcceleration MEMBER acceleration)
    Q_PROPERTY(bool pointerAccelerationProfileFlat READ flat WRITE setFlat)
    Q_PROPERTY(bool pointerAccelerationProfileAdaptive READ adaptive WRITE setAdaptive)
public:
    StandInDevice(const char *name, quint32 vendor, quint32 product, bool pointer = true,
                  bool touchpad = false)
        : pointer(pointer), touchpad(touchpad), name(QString::fromLatin1(name)), vendor(vendor),
          product(product) {}
    bool pointer, touchpad;
    QString name;
    quint32 vendor, product;
    double acceleration = 0.25;
    int profile = 2; // libinput's: 1 flat, 2 adaptive

    bool flat() const { return profile == 1; }
    bool adaptive() const { return profile == 2; }
    void setFlat(bool on) { profile = on ? 1 : 2; }
    void setAdaptive(bool on) { profile = on ? 2 : 1; }
};

class StandInManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames MEMBER names)
public:
    QStringList names;
};

QByteArray read(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
void write(const QString &path, const QByteArray &text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
} // namespace

class KdeTest : public QObject {
    Q_OBJECT
    QTemporaryDir config;
    QProcess daemon;
    QString address;
    // KWin answers from its own thread, as the real one from its own process: the program's
    // calls block until answered.
    QThread kwinThread;
    StandInManager manager;
    StandInDevice mouse{"Q7 Gaming Mouse", 1133, 49271}, wireless{"Mouse [2.4G]", 9025, 32774},
        keyboard{"Q7 Keyboard", 1133, 49272, false}, touchpad{"Touchpad", 1267, 12977, true, true};
    QList<QList<int>> notices;

    QDBusConnection connection(const QString &name) {
        return QDBusConnection::connectToBus(address, name);
    }

public Q_SLOTS:
    void noticed(int type, int argument) { notices.append({type, argument}); }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address")});
        if (!daemon.waitForStarted())
            QSKIP("dbus-daemon is not installed");
        while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        address = QString::fromLatin1(daemon.readLine().trimmed());
        QVERIFY(!address.isEmpty());

        manager.names = {QStringLiteral("event3"), QStringLiteral("event4"),
                         QStringLiteral("event5"), QStringLiteral("event6")};

        QDBusConnection kwin = connection(QStringLiteral("kwin"));
        QVERIFY(kwin.registerService(QStringLiteral("org.kde.KWin")));
        const QString path = QStringLiteral("/org/kde/KWin/InputDevice");
        QObject *objects[] = {&manager, &mouse, &keyboard, &touchpad, &wireless};
        for (int i = 0; i < 5; ++i) {
            objects[i]->moveToThread(&kwinThread);
            QVERIFY(
                kwin.registerObject(i == 0 ? path : path + QStringLiteral("/event%1").arg(i + 2),
                                    objects[i], QDBusConnection::ExportAllProperties));
        }
        kwinThread.start();

        QVERIFY(connection(QStringLiteral("listener"))
                    .connect(QString(), QStringLiteral("/KGlobalSettings"),
                             QStringLiteral("org.kde.KGlobalSettings"),
                             QStringLiteral("notifyChange"), this, SLOT(noticed(int, int))));
    }
    void cleanupTestCase() {
        kwinThread.quit();
        kwinThread.wait();
        daemon.kill();
        daemon.waitForFinished();
    }

    // Speed and acceleration reach both mice, in KWin and in kcminputrc, where the first
    // mouse's group is updated in place and the second's added; the keyboard and the
    // touchpad keep theirs, and so does every other line of the file.
    void miceChangeInKWinAndInTheFile() {
        write(config.filePath(QStringLiteral("kcminputrc")),
              "# kept as written\n[Keyboard]\nNumLock=0\n\n"
              "[Libinput][1133][49271][Q7 Gaming Mouse]\nPointerAcceleration=0.250\n"
              "ScrollFactor=1\n\n[Mouse]\ncursorTheme=breeze_cursors\n");
        KdePointerSystem kde(connection(QStringLiteral("program")));
        QVERIFY(kde.supports(PointerSystem::Speed) && kde.supports(PointerSystem::Acceleration));
        QVERIFY(kde.setSpeed(1));
        QVERIFY(kde.setAcceleration(false));
        const auto state = [](const StandInDevice &d) {
            return qMakePair(d.acceleration, d.profile);
        };
        QCOMPARE(state(mouse), qMakePair(-1.0, 1));
        QCOMPARE(state(wireless), qMakePair(-1.0, 1));
        QCOMPARE(state(keyboard), qMakePair(0.25, 2));
        QCOMPARE(state(touchpad), qMakePair(0.25, 2));
        QCOMPARE(read(config.filePath(QStringLiteral("kcminputrc"))),
                 "# kept as written\n[Keyboard]\nNumLock=0\n\n"
                 "[Libinput][1133][49271][Q7 Gaming Mouse]\nPointerAcceleration=-1.000\n"
                 "ScrollFactor=1\nPointerAccelerationProfile=1\n\n[Mouse]\ncursorTheme=breeze_"
                 "cursors\n\n"
                 "[Libinput][9025][32774][Mouse \\x5b2.4G\\x5d]\nPointerAcceleration=-1.000\n"
                 "PointerAccelerationProfile=1\n");
        QVERIFY(kde.setAcceleration(true) && kde.setSpeed(15));
        QCOMPARE(state(mouse), qMakePair(0.5, 2));
    }

    // Wheel lines and the double-click time are kdeglobals entries, each change announced to
    // the running programs; an entry or file an administrator locked is left alone.
    void globalsGoToKdeglobalsAndAreAnnounced() {
        const QString path = config.filePath(QStringLiteral("kdeglobals"));
        write(path, "[General]\nColorScheme=BreezeDark\n\n[KDE]\nWheelScrollLines = 3\n"
                    "SingleClick=false\n\n[Icons]\nTheme=breeze-dark\n");
        KdePointerSystem kde(connection(QStringLiteral("program")));
        QVERIFY(kde.supports(PointerSystem::WheelLines) &&
                kde.supports(PointerSystem::DoubleClickTime));
        notices.clear();
        QVERIFY(kde.setWheelLines(7) && kde.setDoubleClickTime(550));
        QCOMPARE(read(path),
                 "[General]\nColorScheme=BreezeDark\n\n[KDE]\nWheelScrollLines=7\n"
                 "SingleClick=false\nDoubleClickInterval=550\n\n[Icons]\nTheme=breeze-dark\n");
        QTRY_COMPARE(notices, (QList<QList<int>>{{3, 0}, {3, 0}}));

        for (const QByteArray &locked : {QByteArray("[KDE]\nDoubleClickInterval[$i]=400\n"),
                                         QByteArray("[KDE][$i]\nDoubleClickInterval=400\n"),
                                         QByteArray("[$i]\n[KDE]\nDoubleClickInterval=400\n")}) {
            write(path, locked);
            QVERIFY2(!kde.setDoubleClickTime(300), locked);
            QCOMPARE(read(path), locked);
        }
    }

    // A Plasma X11 session has no input devices in KWin, and a machine may have no bus: speed
    // and acceleration are then refused, the files' settings still taken (a new file here).
    void withoutKWinDevicesOnlyTheFilesAreTaken() {
        KdePointerSystem kde(QDBusConnection(QStringLiteral("never connected")));
        QVERIFY(!kde.supports(PointerSystem::Speed) && !kde.supports(PointerSystem::Acceleration));
        QVERIFY(!kde.setSpeed(10) && !kde.setAcceleration(true));
        const QString path = config.filePath(QStringLiteral("kdeglobals"));
        QFile::remove(path);
        QVERIFY(kde.supports(PointerSystem::WheelLines) && kde.setWheelLines(2));
        QCOMPARE(read(path), "[KDE]\nWheelScrollLines=2\n");
    }

    void desktopChoice() {
        QCOMPARE(pointerDesktopFor("KDE", true), PointerDesktop::Kde);
        QCOMPARE(pointerDesktopFor("ubuntu:GNOME", true), PointerDesktop::Gnome);
        QCOMPARE(pointerDesktopFor("X-Cinnamon:KDE", false), PointerDesktop::Kde);
        QCOMPARE(pointerDesktopFor("Budgie:GNOME", false), PointerDesktop::None);
        // GNOME's schema is installed beside desktops that never read it.
        QCOMPARE(pointerDesktopFor("KDEish", true), PointerDesktop::None);
        QCOMPARE(pointerDesktopFor("XFCE", true), PointerDesktop::None);
        QCOMPARE(pointerDesktopFor("", true), PointerDesktop::None);
    }
};

QTEST_GUILESS_MAIN(KdeTest)
#include "tst_system_kde.moc"
