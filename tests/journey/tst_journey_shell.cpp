// The shell of the real program, driven through X: the profile menu and the bottom bar.
#include "Journey.h"

#include <QSettings>
#include <QTest>

#include <algorithm>

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

    void allSaveLocksTheWindowAndChangesNothingUntouched() {
        Journey j(QStringLiteral("shell-allsave"));
        QVERIFY2(j.start(), j.errorText());
        const vmouse::State before = j.mouse();
        QVERIFY2(j.click("btnTotalApply"), j.errorText());
        // The busy lock takes the view's input away and shows its indicator, then ends.
        QVERIFY(j.waitFor([&] {
            bool viewEnabled = true;
            const QList<Journey::Item> shown = j.items(&viewEnabled);
            return !viewEnabled && std::any_of(shown.begin(), shown.end(), [](const auto &i) {
                return i.name == QLatin1String("protectUIItem");
            });
        }));
        QVERIFY2(j.waitIdle(), j.errorText());
        QVERIFY(sameMouse(j.mouse(), before));
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_shell)
#include "tst_journey_shell.moc"
