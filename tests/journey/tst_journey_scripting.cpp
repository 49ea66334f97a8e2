// Commands sent to the running window: it carries them out as its own clicks, so the page on
// screen shows the change without a restart, and the script gets the window's answer.
#include "Journey.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class tst_journey_scripting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandsThroughTheWindow() {
        Journey j(QStringLiteral("script-window"));
        JVERIFY(j.start());
        const int current = j.mouse().currentProfile;
        QByteArray out, err;
        QCOMPARE(j.runProgram({"status", "--json"}, &out, &err), 0);
        const QJsonObject status = QJsonDocument::fromJson(out).object();
        QCOMPARE(status.value("mouseFound").toBool(), true);
        QCOMPARE(status.value("currentProfile").toInt(), current);
        QCOMPARE(status.value("profiles").toArray().size(), 5);

        // The sensor page on screen follows a rate set by a script.
        JVERIFY(j.openPage(3, "sensorApply"));
        JVERIFY(j.waitProperty("sensorRate", "currentIndex", "3")); // the factory 1000 Hz
        QCOMPARE(j.runProgram({"set", "rate", "125"}, &out, &err), 0);
        QCOMPARE(err, QByteArray());
        JVERIFY(j.waitMouse([&](const vmouse::State &s) { return s.reportRate[current] == 8; }));
        JVERIFY(j.waitProperty("sensorRate", "currentIndex", "0"));
        j.screenshot(QStringLiteral("after"));

        // The switch goes through the profile menu: the menu follows.
        QCOMPARE(j.runProgram({"profile", "4"}), 0);
        JVERIFY(j.waitProfile(4) && j.waitProperty("pfItem", "currentIndex", "4"));

        // Refused by the window as by a command on its own, and nothing reaches the mouse.
        const int mark = j.trafficMark();
        QCOMPARE(j.runProgram({"set", "stage", "9"}, &out, &err), 2);
        QVERIFY2(err.contains("stage takes"), err.constData());
        QCOMPARE(j.runProgram({"set", "rate", "333"}), 2);
        QVERIFY(j.commands(mark).isEmpty());

        // A file for export lands where the script is, not in the window's folder.
        const QString file = QDir::current().filePath(QStringLiteral("script-p4.pf"));
        QFile::remove(file);
        QCOMPARE(j.runProgram({"export", "4", "script-p4.pf"}), 0);
        QVERIFY(QFile::exists(file));
        QFile::remove(file);
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_scripting)
#include "tst_journey_scripting.moc"
