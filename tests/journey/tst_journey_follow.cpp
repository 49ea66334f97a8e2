// Profiles that follow the active application, in the real program over the virtual mouse:
// rules made in the rules list switch the mouse when the test, playing the window manager,
// activates another client's window; the command line switches the running copy.
#include "Journey.h"

#include <QFile>
#include <QSettings>
#include <QTcpServer>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Another application's windows and the root's active-window property, as a window manager
// keeps it.
class Desktop {
public:
    explicit Desktop(const QString &display) : x(XOpenDisplay(display.toLatin1().constData())) {
        if (x) {
            root = DefaultRootWindow(x);
            active = XInternAtom(x, "_NET_ACTIVE_WINDOW", False);
        }
    }
    ~Desktop() {
        if (x)
            XCloseDisplay(x);
    }
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

    bool open() const { return x != nullptr; }

    Window window(const char *instance, const char *windowClass) {
        const Window w = XCreateSimpleWindow(x, root, 0, 0, 10, 10, 0, 0, 0);
        XClassHint hint;
        hint.res_name = const_cast<char *>(instance);
        hint.res_class = const_cast<char *>(windowClass);
        XSetClassHint(x, w, &hint);
        XSync(x, False);
        return w;
    }

    void activate(Window w) {
        const long value = long(w);
        XChangeProperty(x, root, active, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(&value), 1);
        XSync(x, False);
    }

private:
    Display *x;
    Window root = 0;
    Atom active = 0;
};

} // namespace

class JourneyFollow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rulesSwitchTheMouseAndSoDoesTheCommandLine() {
        Journey j(QStringLiteral("follow"));
        QVERIFY2(j.start(), j.errorText());
        QCOMPARE(int(j.mouse().currentProfile), 1);
        Desktop desktop(j.displayName());
        QVERIFY(desktop.open());
        const Window editor = desktop.window("journey-editor", "JourneyEditor");
        const Window game = desktop.window("journey-game", "JourneyGame");

        // The editor was used last: the rules list offers it in one click.
        desktop.activate(editor);
        QVERIFY2(j.rightClick("pfEntry1"), j.errorText());
        QVERIFY2(j.click("pfMenuItem4"), j.errorText());
        QVERIFY2(j.waitShown("followAddLast"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followAddLast", "text") == "ADD JourneyEditor"; }),
                 j.errorText());
        QVERIFY2(j.click("followAddLast"), j.errorText());
        // The game by its typed class, on profile 3.
        QVERIFY2(j.click("followNameInput"), j.errorText());
        j.type(QStringLiteral("journeygame"));
        QVERIFY2(j.click("followNewProfile"), j.errorText());
        QVERIFY2(j.click("followNewProfile"), j.errorText());
        QVERIFY2(j.click("followAdd"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followRuleProfile1", "text") == "P03"; }),
                 j.errorText());
        j.screenshot(QStringLiteral("rules"));
        QVERIFY2(j.click("followSave"), j.errorText());
        QVERIFY2(j.waitGone("rulesPanel"), j.errorText());

        QSettings file(j.programDir() + "/modules/setting/application_rules.ini", QSettings::IniFormat);
        QCOMPARE(file.value("rules/size").toInt(), 2);
        QCOMPARE(file.value("rules/1/name").toString(), QString("JourneyEditor"));
        QCOMPARE(file.value("rules/2/name").toString(), QString("journeygame"));
        QCOMPARE(file.value("rules/2/profile").toInt(), 3);

        // Matching ignores case; the switch reaches the mouse and the menu, and is told.
        desktop.activate(game);
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 3; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("pfItem", "currentIndex") == "3"; }), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("sendNotice", "text") == "P03 for JourneyGame"; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("sendNotice", "opacity") == "1"; }), j.errorText());
        j.screenshot(QStringLiteral("switched"));
        desktop.activate(editor);
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 1; }),
                 j.errorText());

        // A shortcut's command reaches the running copy, which switches as a click would.
        QByteArray output;
        QCOMPARE(j.runProgram({QStringLiteral("--profile"), QStringLiteral("4")}, &output), 0);
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 4; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("pfItem", "currentIndex") == "4"; }), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // A window class is another program's text: markup in it, a picture on a local address
    // included, is shown as written in the rules list and the notice, and nothing is fetched.
    void markupInAWindowClassIsShownAsWritten() {
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        const QByteArray markup = "<img src='http://127.0.0.1:" +
                                  QByteArray::number(listener.serverPort()) +
                                  "/x.png'><b>Your mouse needs an update</b>";
        Journey j(QStringLiteral("follow-markup"));
        QVERIFY2(j.start(), j.errorText());
        Desktop desktop(j.displayName());
        QVERIFY(desktop.open());
        const Window lure = desktop.window("journey-lure", markup.constData());
        const Window other = desktop.window("journey-other", "JourneyOther");

        desktop.activate(lure);
        QVERIFY2(j.rightClick("pfEntry1"), j.errorText());
        QVERIFY2(j.click("pfMenuItem4"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followAddLast", "text") == "ADD " + markup; }),
                 j.errorText());
        QVERIFY2(j.click("followAddLast"), j.errorText());
        QVERIFY2(j.click("followRuleProfile0"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followRuleProfile0", "text") == "P02"; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followRuleName0", "text") == markup; }),
                 j.errorText());
        // Other applications take profile 3, so that the switch back is one the test can see.
        QVERIFY2(j.click("followNoMatch3"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("followNoMatch3", "checked") == "true"; }),
                 j.errorText());
        j.screenshot(QStringLiteral("markup-rule"));
        QVERIFY2(j.click("followSave"), j.errorText());
        QVERIFY2(j.waitGone("rulesPanel"), j.errorText());

        desktop.activate(other);
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 3; }),
                 j.errorText());
        desktop.activate(lure);
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 2; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("sendNotice", "text") == "P02 for " + markup; }),
                 j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("sendNotice", "opacity") == "1"; }), j.errorText());
        j.screenshot(QStringLiteral("markup-notice"));
        QVERIFY2(j.stop(), j.errorText());
        QCoreApplication::processEvents();
        QVERIFY(!listener.hasPendingConnections());
    }
};

QTEST_GUILESS_MAIN(JourneyFollow)
#include "tst_journey_follow.moc"
