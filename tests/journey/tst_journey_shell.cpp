// The shell of the real program, driven through X: the profile menu and the bottom bar.
#include "Journey.h"

#include <QSettings>
#include <QTest>

#include <algorithm>

namespace {
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
} // namespace

class tst_journey_shell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void profileChosenInTheMenuIsTheMousesAndSurvivesARestart() {
        Journey j(QStringLiteral("shell-profile"));
        QVERIFY2(j.start(), j.errorText());
        QCOMPARE(int(j.mouse().currentProfile), 1);
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("true"));
        j.screenshot(QStringLiteral("start"));

        const int mark = j.trafficMark();
        QVERIFY2(j.click("pfEntry3"), j.errorText());
        QVERIFY2(j.waitMouse([](const vmouse::State &s) { return s.currentProfile == 3; }),
                 j.errorText());
        QVERIFY(j.commands(mark).contains(QByteArray::fromHex("0002030000000000fa")));
        QCOMPARE(j.property("pfEntry3", "current"), QStringLiteral("true"));

        // The program reads the current profile back from the mouse when it starts.
        QVERIFY2(j.restart(), j.errorText());
        QCOMPARE(j.property("pfEntry3", "current"), QStringLiteral("true"));
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("false"));
        QVERIFY2(j.stop(), j.errorText());
    }

    // The mouse was switched to profile 3 at 125 Hz elsewhere; the file still says profile 1.
    // The mouse is read while the window opens, and what shows is the mouse's.
    void mouseChangedElsewhereIsShownOnceRead() {
        Journey j(QStringLiteral("shell-changed-elsewhere"));
        vmouse::State mouse = vmouse::factoryState();
        QVERIFY(mouse.currentProfile != 3 && mouse.reportRate[3] != 8);
        mouse.currentProfile = 3;
        mouse.reportRate[3] = 8;
        QVERIFY2(j.start(mouse), j.errorText());
        QVERIFY(j.waitFor([&] { return j.property("pfEntry3", "current") == "true"; }));
        QCOMPARE(j.property("pfEntry1", "current"), QStringLiteral("false"));
        QVERIFY2(j.click("fnEntry3") && j.waitShown("sensorApply"), j.errorText());
        QCOMPARE(j.property("sensorRate", "currentIndex"), QStringLiteral("0")); // 125 Hz
        QVERIFY2(j.stop(), j.errorText());
        const QSettings file(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"),
                             QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("common/curProfile")).toInt(), 3);
    }

    // ALL SAVE by its caption, not its icon: the pages send their blocks under the busy lock,
    // and what nobody touched stays as it was.
    void allSaveByItsCaptionSendsThePagesAndChangesNothingUntouched() {
        Journey j(QStringLiteral("shell-allsave"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State before = j.mouse();
        const int mark = j.trafficMark();
        QVERIFY2(j.click("btnTotalApplyCaption"), j.errorText());
        // The busy lock takes the view's input away and shows its indicator, then ends.
        QVERIFY(j.waitFor([&] {
            bool viewEnabled = true;
            const QList<Journey::Item> shown = j.items(&viewEnabled);
            return !viewEnabled && std::any_of(shown.begin(), shown.end(), [](const auto &i) {
                return i.name == QLatin1String("protectUIItem");
            });
        }));
        QVERIFY2(j.waitIdle(), j.errorText());
        const auto sent = [&](char code) {
            const QList<QByteArray> commands = j.commands(mark);
            return std::any_of(commands.begin(), commands.end(),
                               [&](const QByteArray &c) { return c.size() > 1 && c.at(1) == code; });
        };
        // The profile block (lighting, DPI) and the key assignment block.
        QVERIFY(sent(0x0C) && sent(0x0D));
        QVERIFY(sameMouse(j.mouse(), before));
        QVERIFY2(j.stop(), j.errorText());
    }

    // The second skin, chosen in the drawer, shows at once; stored by APPLY, it is the one the
    // program starts with.
    void secondSkinShowsAtOnceAndAfterARestart() {
        Journey j(QStringLiteral("shell-skin"));
        QVERIFY2(j.start(), j.errorText());
        const QPoint still(500, 300); // over nothing that lights up when pointed at
        const auto bar = [&] {
            const std::optional<Journey::Item> down = j.item(QStringLiteral("downItem"));
            return down ? j.grab(down->rect.translated(j.windowRect().topLeft())) : QImage();
        };
        j.moveTo(still);
        const QImage window1 = j.grab(j.windowRect()), bar1 = bar();
        QVERIFY(!window1.isNull() && !bar1.isNull());
        j.screenshot(QStringLiteral("skin1"));

        QVERIFY2(j.click("btnSetting") && j.click("skin2"), j.errorText());
        QVERIFY(j.waitFor([&] { return j.property("_Page_Globalsetting", "skin_No") == "2"; }));
        j.screenshot(QStringLiteral("skin2-drawer"));
        QVERIFY2(j.click("btnApply") && j.waitGone("_fkGlobalsetting"), j.errorText());
        j.moveTo(still);
        const QImage window2 = j.grab(j.windowRect()), bar2 = bar();
        QVERIFY(differing(window2, window1) > 0.1 && differing(bar2, bar1) > 0.1);
        j.screenshot(QStringLiteral("skin2"));

        QVERIFY2(j.restart() && j.waitShown("btnTotalApply"), j.errorText());
        const QSettings file(j.programDir() + QStringLiteral("/modules/setting/apConfig.bin"),
                             QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("common/skin")).toInt(), 2);
        QCOMPARE(j.property("_Page_Globalsetting", "skin_No"), QStringLiteral("2"));
        j.moveTo(still);
        // Text may be drawn a shade apart from one run to the next; the skin's colours are not.
        const QImage bar3 = bar();
        QVERIFY(differing(bar3, bar2) < 0.01 && differing(bar3, bar1) > 0.1);
        j.screenshot(QStringLiteral("skin2-restarted"));
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_shell)
#include "tst_journey_shell.moc"
