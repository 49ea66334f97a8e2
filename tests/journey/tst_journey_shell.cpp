// The shell of the real program, driven through X: the profile menu, the bottom bar and the
// settings drawer; the whole window by keyboard alone on a desktop with a window manager; and
// profiles that follow the active application, switched by rules made in the rules list when
// the test, playing the window manager, activates another client's window, and by the command
// line; the same rules over the real GNOME Shell and KWin, whose focus moves between two of
// their windows.
#include "DesktopSessions.h"
#include "Journey.h"

#include <QTcpServer>

#include <algorithm>
#include <memory>

// Last: Xlib's macros must not meet the Qt headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int current = 1; // the factory mouse's current profile

// The share of pixels that differ between two pictures of the same size.
double differing(const QImage &a, const QImage &b) {
    if (a.size() != b.size() || a.isNull())
        return 1;
    qint64 n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return double(n) / (qint64(a.width()) * a.height());
}

// Tab until the control has the focus; a whole round of the window without it fails.
bool tabTo(Journey &j, const QString &objectName) {
    for (int i = 0; i < 120; ++i) {
        if (!j.settle())
            return false;
        if (j.property(objectName, QStringLiteral("activeFocus")) == QLatin1String("true"))
            return true;
        j.key(XK_Tab);
    }
    return j.fail(objectName + QStringLiteral(" never had the focus"));
}

bool waitFocus(Journey &j, const QString &objectName) {
    return j.waitProperty(objectName, QStringLiteral("activeFocus"), QStringLiteral("true"));
}

// Another application's windows and the root's active-window property, as a window manager
// keeps it.
class Desktop {
public:
    explicit Desktop(const QString &display)
        : x(XOpenDisplay(display.toLatin1().constData()), XCloseDisplay) {}
    bool open() const { return x != nullptr; }

    Window window(const char *instance, const char *windowClass) {
        const Window w =
            XCreateSimpleWindow(x.get(), DefaultRootWindow(x.get()), 0, 0, 10, 10, 0, 0, 0);
        XClassHint hint{const_cast<char *>(instance), const_cast<char *>(windowClass)};
        XSetClassHint(x.get(), w, &hint);
        XSync(x.get(), False);
        return w;
    }

    void activate(Window w) {
        const long value = long(w);
        XChangeProperty(x.get(), DefaultRootWindow(x.get()),
                        XInternAtom(x.get(), "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char *>(&value), 1);
        XSync(x.get(), False);
    }

private:
    std::unique_ptr<Display, int (*)(Display *)> x;
};

} // namespace

class tst_journey_shell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A profile chosen in the menu is the mouse's at once, and the program reads it back from
    // the mouse when it starts. The second skin, chosen in the drawer, shows at once; stored by
    // APPLY, it is the one the program starts with.
    void profileAndSecondSkinChosenSurviveARestart() {
        Journey j(QStringLiteral("shell-skin"));
        JVERIFY(j.start());
        QCOMPARE(int(j.mouse().currentProfile), 1);
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("true"));
        const int mark = j.trafficMark();
        JVERIFY(j.click("pfEntry3") && j.waitProfile(3));
        QVERIFY(j.commands(mark).contains(QByteArray::fromHex("0002030000000000fa")));
        QCOMPARE(j.property("pfEntry3", "current"), QStringLiteral("true"));

        const QPoint still(500, 300); // over nothing that lights up when pointed at
        const auto bar = [&] {
            const std::optional<Journey::Item> down = j.item(QStringLiteral("downItem"));
            return down ? j.grab(down->rect.translated(j.windowRect().topLeft())) : QImage();
        };
        j.moveTo(still);
        const QImage window1 = j.grab(j.windowRect()), bar1 = bar();
        QVERIFY(!window1.isNull() && !bar1.isNull());
        j.screenshot(QStringLiteral("skin1"));

        JVERIFY(j.click("btnSetting") && j.click("skin2"));
        JVERIFY(j.waitProperty("_Page_Globalsetting", "skin_No", "2"));
        j.screenshot(QStringLiteral("skin2-drawer"));
        JVERIFY(j.click("btnApply") && j.waitGone("_fkGlobalsetting"));
        j.moveTo(still);
        const QImage window2 = j.grab(j.windowRect()), bar2 = bar();
        QVERIFY(differing(window2, window1) > 0.1 && differing(bar2, bar1) > 0.1);
        j.screenshot(QStringLiteral("skin2"));

        JVERIFY(j.restart() && j.waitShown("btnTotalApply"));
        QCOMPARE(j.property("pfEntry3", "current"), QStringLiteral("true"));
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("false"));
        QCOMPARE(j.setting("apConfig.bin", "common/skin").toInt(), 2);
        QCOMPARE(j.property("_Page_Globalsetting", "skin_No"), QStringLiteral("2"));
        j.moveTo(still);
        // Text may be drawn a shade apart from one run to the next; the skin's colours are not.
        const QImage bar3 = bar();
        QVERIFY(differing(bar3, bar2) < 0.01 && differing(bar3, bar1) > 0.1);
        j.screenshot(QStringLiteral("skin2-restarted"));
        JVERIFY(j.stop());
    }

    // ALL SAVE by its caption, not its icon: the pages send their blocks under the busy lock,
    // edits of both device pages among them, and what nobody touched stays as it was.
    void allSaveByItsCaptionSendsThePages() {
        Journey j(QStringLiteral("shell-allsave"));
        JVERIFY(j.start());
        vmouse::State expected = j.mouse();
        JVERIFY(j.openPage(3, "sensorRateButton1") && j.click("sensorRateButton1")); // 250 Hz
        JVERIFY(j.openPage(2, "colorEffect") && j.choose("colorEffect", 3));         // NEON
        expected.reportRate[current] = 4;
        expected.profiles[current][0x47] = 4; // the effect

        const int mark = j.trafficMark();
        JVERIFY(j.click("btnTotalApplyCaption"));
        // The busy lock takes the view's input away and shows its indicator, then ends.
        QVERIFY(j.waitFor([&] {
            bool viewEnabled = true;
            const QList<Journey::Item> shown = j.items(&viewEnabled);
            return !viewEnabled && std::any_of(shown.begin(), shown.end(), [](const auto &i) {
                return i.name == QLatin1String("protectUIItem");
            });
        }));
        JVERIFY(j.waitIdle());
        // The profile block (lighting, DPI) and the key assignment block, by their codes.
        QByteArray codes;
        for (const QByteArray &c : j.commands(mark))
            codes += c.mid(1, 1);
        QVERIFY2(codes.contains(0x0C) && codes.contains(0x0D), codes.toHex(' ').constData());
        JVERIFY(j.waitMouse(expected));
        JVERIFY(j.stop());
    }

    // After the start no pointer event at all, only X key events, as a user without a mouse
    // drives it.
    void pageProfileLanguageAndSaveAllWithoutAPointer() {
        Journey j(QStringLiteral("keyboard"));
        j.useWindowManager();
        JVERIFY(j.start());
        vmouse::State expected = j.mouse();

        // The function menu, SENSOR: the focus goes to the page's first control, the rates.
        JVERIFY(tabTo(j, "fnEntry3"));
        j.screenshot(QStringLiteral("menu-focus"));
        j.key(XK_space);
        JVERIFY(waitFocus(j, "sensorRate"));
        for (int i = 0; i < 3; ++i)
            j.key(XK_Left); // to the first, 125 Hz
        JVERIFY(tabTo(j, "sensorApply"));
        j.key(XK_space);
        expected.reportRate[current] = 8;
        JVERIFY(j.waitMouse(expected));
        JVERIFY(j.waitIdle());

        // P01 to P03 by the next-profile shortcut, which goes to the mouse at once.
        j.shortcut(XK_Page_Down, XK_Control_L);
        j.shortcut(XK_Page_Down, XK_Control_L);
        expected.currentProfile = 3;
        JVERIFY(j.waitMouse(expected));
        JVERIFY(j.waitIdle());
        QCOMPARE(j.property("pfEntry3", "current"), QStringLiteral("true"));

        // The drawer, from the keyboard: the focus goes into it, Up chooses the language before
        // English, the second skin shows at once, Escape closes it onto the settings button.
        JVERIFY(tabTo(j, "btnSetting"));
        j.key(XK_space);
        JVERIFY(waitFocus(j, "languageList"));
        j.key(XK_Up);
        JVERIFY(j.waitProperty("_Page_Globalsetting", "languageIndex", "1"));
        j.screenshot(QStringLiteral("drawer-focus-skin1"));
        JVERIFY(tabTo(j, "skin2"));
        j.key(XK_space);
        JVERIFY(j.waitProperty("_Page_Globalsetting", "skin_No", "2"));
        j.screenshot(QStringLiteral("drawer-focus-skin2"));
        j.shortcut(XK_Escape);
        JVERIFY(j.waitGone("_fkGlobalsetting"));
        JVERIFY(waitFocus(j, "btnSetting"));
        j.screenshot(QStringLiteral("gear-focus-skin2"));

        // ALL SAVE by Ctrl+S: the pages send the current profile's values (unchanged), and the
        // drawer's changes, never applied there, are stored.
        const int mark = j.trafficMark();
        j.shortcut('s', XK_Control_L);
        QVERIFY2(j.waitFor([&] { return !j.commands(mark).isEmpty(); }), "Ctrl+S sent nothing");
        JVERIFY(j.waitIdle());
        JVERIFY(j.waitMouse(expected));
        QCOMPARE(j.setting("apConfig.bin", "common/4").toInt(), 1);
        QCOMPARE(j.setting("apConfig.bin", "common/skin").toInt(), 2);

        // Closed from the keyboard too: the close button is the next stop after the settings.
        j.key(XK_Tab);
        JVERIFY(waitFocus(j, "btnClose"));
        j.screenshot(QStringLiteral("close-focus-skin2"));
        j.key(XK_space);
        QTRY_VERIFY_WITH_TIMEOUT(j.programPid() == 0, 15000);
    }

    // A window class is another program's text: markup in it, a picture on a local address
    // included, is shown as written in the rules list and the notice, and nothing is fetched.
    void rulesSwitchTheMouseAndSoDoesTheCommandLine() {
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        const QString markup = QStringLiteral("<img src='http://127.0.0.1:%1/x.png'>"
                                              "<b>Your mouse needs an update</b>")
                                   .arg(listener.serverPort());
        Journey j(QStringLiteral("follow"));
        JVERIFY(j.start());
        QCOMPARE(int(j.mouse().currentProfile), 1);
        Desktop desktop(j.displayName());
        QVERIFY(desktop.open());
        const Window lure = desktop.window("journey-lure", markup.toUtf8().constData());
        const Window game = desktop.window("journey-game", "JourneyGame");

        // The lure was used last: the rules list offers it in one click.
        desktop.activate(lure);
        JVERIFY(j.rightClick("pfEntry1") && j.click("pfMenuItem4"));
        JVERIFY(j.waitProperty("followSource", "text", "ACTIVE APPLICATION FROM: X11"));
        JVERIFY(j.waitProperty("followAddLast", "text", "ADD " + markup));
        JVERIFY(j.click("followAddLast") && j.click("followRuleProfile0"));
        JVERIFY(j.waitProperty("followRuleProfile0", "text", "P02"));
        JVERIFY(j.waitProperty("followRuleName0", "text", markup));
        // The game by its typed class, on profile 3.
        JVERIFY(j.click("followNameInput"));
        j.type(QStringLiteral("journeygame"));
        JVERIFY(j.click("followNewProfile") && j.click("followNewProfile") && j.click("followAdd"));
        JVERIFY(j.waitProperty("followRuleProfile1", "text", "P03"));
        j.screenshot(QStringLiteral("rules"));
        JVERIFY(j.click("followSave") && j.waitGone("rulesPanel"));
        QCOMPARE(j.setting("application_rules.ini", "rules/size").toInt(), 2);
        QCOMPARE(j.setting("application_rules.ini", "rules/1/profile").toInt(), 2);
        QCOMPARE(j.setting("application_rules.ini", "rules/2/name").toString(),
                 QStringLiteral("journeygame"));
        QCOMPARE(j.setting("application_rules.ini", "rules/2/profile").toInt(), 3);

        // Matching ignores case; the switch reaches the mouse and the menu, and is told.
        desktop.activate(game);
        JVERIFY(j.waitProfile(3) && j.waitProperty("pfItem", "currentIndex", "3"));
        JVERIFY(j.waitProperty("sendNotice", "text", "P03 for JourneyGame"));
        JVERIFY(j.waitProperty("sendNotice", "opacity", "1"));
        j.screenshot(QStringLiteral("switched"));
        desktop.activate(lure);
        JVERIFY(j.waitProfile(2) && j.waitProperty("sendNotice", "text", "P02 for " + markup));
        JVERIFY(j.waitProperty("sendNotice", "opacity", "1"));
        j.screenshot(QStringLiteral("markup-notice"));

        // A shortcut's command reaches the running copy, which switches as a click would.
        QCOMPARE(j.runProgram({QStringLiteral("--profile"), QStringLiteral("4")}), 0);
        JVERIFY(j.waitProfile(4) && j.waitProperty("pfItem", "currentIndex", "4"));
        JVERIFY(j.stop());
        QCoreApplication::processEvents();
        QVERIFY(!listener.hasPendingConnections());
    }

    // On a Wayland desktop the active application comes over the session bus, from the
    // program's extension in the real GNOME Shell or its script in the real KWin: the program
    // finds which on its own, names it in the rules list, and its rules switch the mouse as
    // the compositor's focus moves from window to window.
    void rulesFollowTheRealCompositor_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("desktopName");
        QTest::addColumn<QString>("sourceName");
        QTest::newRow("gnome-shell") << "gnome-shell" << "GNOME" << "GNOME SHELL EXTENSION";
        QTest::newRow("kwin") << "kwin" << "KDE" << "KWIN SCRIPT";
    }
    void rulesFollowTheRealCompositor() {
        QFETCH(QString, kind);
        QFETCH(QString, desktopName);
        QFETCH(QString, sourceName);
        const std::unique_ptr<RealDesktop> desktop = RealDesktop::create(kind);
        if (const QString why = desktop->missing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(desktop->start(), desktop->log().constData());
        Journey j(QStringLiteral("follow-") + kind);
        j.setProgramEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop->busAddress());
        j.setProgramEnvironment(QStringLiteral("XDG_CURRENT_DESKTOP"), desktopName);
        JVERIFY(j.start());

        JVERIFY(j.rightClick("pfEntry1") && j.click("pfMenuItem4"));
        JVERIFY(j.waitProperty("followSource", "text", "ACTIVE APPLICATION FROM: " + sourceName));
        // The first client's window on P02, the second's on P03.
        const QStringList clients = desktop->clients();
        for (int i = 0; i < 2; ++i) {
            JVERIFY(j.click("followNameInput"));
            j.type(desktop->windowClass(clients[i]));
            JVERIFY(j.click("followNewProfile") && j.click("followAdd"));
            JVERIFY(j.waitProperty(QStringLiteral("followRuleProfile%1").arg(i), "text",
                                   QStringLiteral("P0%1").arg(i + 2)));
        }
        j.screenshot(QStringLiteral("rules"));
        JVERIFY(j.click("followSave") && j.waitGone("rulesPanel"));

        // A new window takes the focus; closed, it hands it back to the one before.
        const auto focused = [&](int profile, const QString &client) {
            return j.waitProfile(profile) &&
                   j.waitProperty("sendNotice", "text",
                                  QStringLiteral("P0%1 for %2")
                                      .arg(profile)
                                      .arg(desktop->windowClass(client)));
        };
        desktop->open(clients[0]);
        QVERIFY2(focused(2, clients[0]), qPrintable(j.error() + desktop->log()));
        desktop->open(clients[1]);
        QVERIFY2(focused(3, clients[1]), qPrintable(j.error() + desktop->log()));
        j.screenshot(QStringLiteral("switched"));
        desktop->close(clients[1]);
        QVERIFY2(focused(2, clients[0]), qPrintable(j.error() + desktop->log()));
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_shell)
#include "tst_journey_shell.moc"
