// The shell of the real program, driven through X: the profile menu and the bottom bar.
#include "Journey.h"

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
