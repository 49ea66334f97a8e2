// A change made while the mouse is away, in the real program driven through X: the next start
// with the mouse there asks once what to do with it, and does what the user chose.
#include "Journey.h"

#include <QSettings>
#include <QTest>

#include <cmath>

namespace {

constexpr int current = 1; // the current profile of the factory mouse and file
constexpr std::uint8_t rate125Hz = 8;

QList<uint> otherValues(Journey &j, int profile) {
    QSettings file(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"),
                   QSettings::IniFormat);
    QList<uint> out;
    for (const QVariant &v : file.value(QStringLiteral("other_fw/%1").arg(profile)).toList())
        out.append(v.toUInt());
    return out;
}

QStringList dirtyMarks(Journey &j) {
    QSettings file(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"),
                   QSettings::IniFormat);
    return file.value(QStringLiteral("other_fw/dirty")).toStringList();
}

} // namespace

class tst_journey_offline : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void changeWithoutTheMouseIsAskedAboutWhenItIsBack_data() {
        QTest::addColumn<bool>("send");
        QTest::newRow("send") << true;
        QTest::newRow("keep") << false;
    }
    void changeWithoutTheMouseIsAskedAboutWhenItIsBack() {
        QFETCH(bool, send);
        Journey j(send ? QStringLiteral("offline-send") : QStringLiteral("offline-keep"));
        j.useWindowManager();
        const vmouse::State mouse = vmouse::factoryState();
        QVERIFY(mouse.reportRate[current] != rate125Hz);

        // Without the mouse: the change is kept and marked, and the user is told.
        qputenv("VIRTUAL_MOUSE_FAULTS", "absent");
        const bool started = j.start(mouse);
        qunsetenv("VIRTUAL_MOUSE_FAULTS");
        QVERIFY2(started, j.errorText());
        QVERIFY2(j.click("fnEntry3") && j.waitShown("sensorApply"), j.errorText());
        QVERIFY2(j.click("sensorRateButton0"), j.errorText());
        QVERIFY2(j.click("sensorApply"), j.errorText());
        QVERIFY2(j.waitShown("sendNotice"), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
        QCOMPARE(dirtyMarks(j).value(current), QStringLiteral("true"));
        QCOMPARE(otherValues(j, current).value(1), uint(rate125Hz));

        // The mouse is there at the next start: one question over the window.
        const int mark = j.trafficMark();
        QVERIFY2(j.relaunch(), j.errorText());
        const std::optional<Journey::Dialog> d = j.waitDialog(QStringLiteral("Q7 Gaming Mouse"));
        QVERIFY2(d, j.errorText());
        QVERIFY(d->modal);
        QVERIFY(d->transient);
        std::optional<QRect> keepButton;
        QStringList buttons;
        for (const Journey::DialogText &t : d->texts) {
            if (t.kind != QLatin1String("button"))
                continue;
            buttons.append(t.text);
            if (t.text.contains(QStringLiteral("Keep")))
                keepButton = t.rect;
        }
        QCOMPARE(buttons.size(), 2);
        QVERIFY2(keepButton, qPrintable(buttons.join(" / ")));
        j.screenshot(QStringLiteral("question"), d->frame.united(j.windowRect()));
        if (send)
            j.key(Journey::Return);
        else
            j.clickAt(keepButton->center() - j.windowRect().topLeft());
        QVERIFY2(j.waitFor([&] { return !j.dialog(); }), "the question stayed up");

        vmouse::State expected = mouse;
        expected.functionOption = 0x08; // the greeting of every start with the mouse there
        if (send)
            expected.reportRate[current] = rate125Hz;
        QVERIFY2(j.waitMouse(expected), j.errorText());
        // The sensor page shows what now stands (125 Hz is its first choice, 1000 Hz its last).
        const QString shown = send ? "0" : QString::number(3 - qRound(std::log2(mouse.reportRate[current])));
        QVERIFY2(j.waitFor([&] { return j.property("sensorRate", "currentIndex") == shown; }),
                 qPrintable(j.property("sensorRate", "currentIndex")));
        // Nothing but the start's own traffic when the mouse's settings stay.
        int rateSets = 0;
        for (const QByteArray &c : j.commands(mark))
            rateSets += c.size() > 1 && uchar(c[1]) == 0x03;
        QCOMPARE(rateSets, send ? 1 : 0);
        QVERIFY2(j.stop(), j.errorText());
        QCOMPARE(dirtyMarks(j).value(current), QStringLiteral("false"));
        QCOMPARE(otherValues(j, current).value(1), uint(expected.reportRate[current]));
    }
};

QTEST_MAIN(tst_journey_offline)
#include "tst_journey_offline.moc"
