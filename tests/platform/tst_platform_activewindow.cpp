#include "ActiveWindowSource.h"
#include "linux/X11ActiveWindowSource.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Plays the window manager: makes client windows and sets the root's _NET_ACTIVE_WINDOW.
class ActiveWindowTest : public QObject {
    Q_OBJECT
private:
    Display *display = nullptr;
    Window root = 0;
    Atom activeAtom = 0;
    Atom pidAtom = 0;

    Window makeWindow(const char *instance, const char *windowClass, qint64 pid) {
        const Window w = XCreateSimpleWindow(display, root, 0, 0, 10, 10, 0, 0, 0);
        if (instance) {
            XClassHint hint;
            hint.res_name = const_cast<char *>(instance);
            hint.res_class = const_cast<char *>(windowClass);
            XSetClassHint(display, w, &hint);
        }
        if (pid > 0) {
            const long value = long(pid);
            XChangeProperty(display, w, pidAtom, XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&value), 1);
        }
        return w;
    }

    void activate(Window w) {
        const long value = long(w);
        XChangeProperty(display, root, activeAtom, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(&value), 1);
        XFlush(display);
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display");
        display = XOpenDisplay(nullptr);
        QVERIFY(display);
        root = DefaultRootWindow(display);
        activeAtom = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        pidAtom = XInternAtom(display, "_NET_WM_PID", False);
        XDeleteProperty(display, root, activeAtom);
        XSync(display, False);
    }

    void cleanupTestCase() {
        if (!display)
            return;
        XDeleteProperty(display, root, activeAtom);
        XCloseDisplay(display);
    }

    void reportsEachActivatedApplicationAndSkipsTheRest() {
        QProcess helper;
        helper.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(helper.waitForStarted());

        const Window editor = makeWindow("gedit", "Gedit", helper.processId());
        const Window game = makeWindow("steam_app_1", "Game", 0);
        const Window unnamed = makeWindow(nullptr, nullptr, 0);
        const Window ours = makeWindow("q7config", "q7config", QCoreApplication::applicationPid());
        XSync(display, False);

        X11ActiveWindowSource source;
        QSignalSpy spy(&source, &ActiveWindowSource::activeWindowChanged);
        const auto next = [&] {
            return spy.wait(5000) ? spy.takeFirst().at(0).value<ActiveWindowInfo>()
                                  : ActiveWindowInfo();
        };
        QVERIFY(source.start());
        QCOMPARE(spy.count(), 0); // nothing is active yet

        activate(editor);
        ActiveWindowInfo info = next();
        QCOMPARE(info.instance, QStringLiteral("gedit"));
        QCOMPARE(info.windowClass, QStringLiteral("Gedit"));
        QCOMPARE(info.executable, QStringLiteral("sleep"));
        QCOMPARE(info.pid, helper.processId());

        activate(game);
        info = next();
        QCOMPARE(info.windowClass, QStringLiteral("Game"));
        QVERIFY(info.executable.isEmpty());
        QVERIFY(ActiveWindowSource::executableOf(0x7ffffff0).isEmpty()); // no such process

        // A window that names no application, and this program's own window: silence.
        activate(unnamed);
        QVERIFY(!spy.wait(400));
        activate(ours);
        QVERIFY(!spy.wait(400));

        // Rewriting the property to the same window (focus events) is not a new activation,
        // but coming back from our own window is.
        activate(ours);
        activate(game);
        QCOMPARE(next().windowClass, QStringLiteral("Game"));
        activate(game);
        QVERIFY(!spy.wait(400));

        // A window destroyed before the source could look at it is skipped without harm.
        const Window gone = makeWindow("gone", "Gone", 0);
        activate(gone);
        XDestroyWindow(display, gone);
        XSync(display, False);
        spy.wait(400);
        activate(editor);
        QTRY_VERIFY(!spy.isEmpty() &&
                    spy.last().at(0).value<ActiveWindowInfo>().windowClass == QStringLiteral("Gedit"));

        // A source started later reports the window active then at once.
        X11ActiveWindowSource later;
        QSignalSpy atStart(&later, &ActiveWindowSource::activeWindowChanged);
        QVERIFY(later.start());
        QCOMPARE(atStart.count(), 1);
        QCOMPARE(atStart.at(0).at(0).value<ActiveWindowInfo>().instance, QStringLiteral("gedit"));
        helper.kill();
        helper.waitForFinished();
    }

    // The desktop's own mechanism comes before X11, which on Wayland sees X clients only; the
    // user's choice is tried alone, and a session left half seen says how to change that.
    void theBestSourceIsTriedFirst_data() {
        QTest::addColumn<QString>("forced");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("offers"); // 1 wayland, 2 x11, 4 gnome extension, 8 kwin
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("hintWithX11");
        const QString gnome = QStringLiteral("gnome-shell"), kwin = QStringLiteral("kwin"),
                      x11 = QStringLiteral("x11");
        QTest::newRow("gnome wayland, extension on") << "" << "GNOME" << 1 + 2 + 4
                                                     << QStringList{gnome, x11} << "hintGnome";
        QTest::newRow("gnome wayland, no extension") << "" << "UBUNTU:GNOME" << 1 + 2
                                                     << QStringList{x11} << "hintGnome";
        QTest::newRow("plasma wayland") << "" << "KDE" << 1 + 2 + 8 << QStringList{kwin, x11}
                                        << "hintKde";
        QTest::newRow("plasma x11") << "" << "KDE" << 2 + 8 << QStringList{kwin, x11} << "";
        QTest::newRow("sway") << "" << "SWAY" << 1 + 2 << QStringList{x11} << "hintWayland";
        QTest::newRow("wayland without xwayland") << "" << "SWAY" << 1 << QStringList{}
                                                  << "hintWayland";
        QTest::newRow("x11 session") << "" << "XFCE" << 2 << QStringList{x11} << "";
        QTest::newRow("forced x11") << "x11" << "GNOME" << 1 + 2 + 4 << QStringList{x11}
                                    << "hintGnome";
        QTest::newRow("forced none") << "none" << "GNOME" << 1 + 2 + 4 << QStringList{} << "";
        QTest::newRow("forced unknown") << "xwin" << "XFCE" << 2 << QStringList{} << "";
    }
    void theBestSourceIsTriedFirst() {
        QFETCH(QString, forced);
        QFETCH(QString, desktop);
        QFETCH(int, offers);
        DesktopSession session;
        session.forced = forced;
        session.desktop = desktop;
        session.wayland = offers & 1;
        session.x11 = offers & 2;
        session.gnomeExtension = offers & 4;
        session.kwin = offers & 8;
        QTEST(session.sourceOrder(), "order");
        QTEST(session.unseenHint(QStringLiteral("x11")), "hintWithX11");
        QVERIFY(session.unseenHint(QStringLiteral("gnome-shell")).isEmpty());
        QVERIFY(session.unseenHint(QStringLiteral("kwin")).isEmpty());
    }

    // On a display the X11 source is the one chosen, unless the user asked for none.
    void theUserCanTurnWatchingOff() {
        QVERIFY(qobject_cast<X11ActiveWindowSource *>(ActiveWindowSource::create().get()));
        qputenv("Q7_ACTIVE_WINDOW_SOURCE", "none");
        const std::unique_ptr<ActiveWindowSource> none = ActiveWindowSource::create();
        qunsetenv("Q7_ACTIVE_WINDOW_SOURCE");
        QVERIFY(!qobject_cast<X11ActiveWindowSource *>(none.get()));
        QVERIFY(!none->start());
    }
};

QTEST_GUILESS_MAIN(ActiveWindowTest)
#include "tst_platform_activewindow.moc"
