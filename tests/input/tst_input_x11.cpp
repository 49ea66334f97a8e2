// Desktop-wide capture on X: keys and buttons injected into the server as a user would make
// them (exact keycodes through XTest) reach the core as the Windows hook would report them.
// That keys typed into another client are seen and still delivered to it is the key journey's.
#include "InputHooks.h"
#include "XInjector.h"

#include <QtTest>

namespace {
// As the core test writes them: "04+" a usage pressed, "F0-@3,4" a button released at 3,4.
QStringList reports;

void onKey(uchar usage, uchar isDown, void *) {
    reports << QString::asprintf("%02X%c", usage, isDown ? '+' : '-');
}
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports << QString::asprintf("%02X%c@%d,%d", code, isDown ? '+' : '-', x, y);
}
constexpr unsigned xKey(unsigned evdev) { return evdev + 8; }
} // namespace

class X11CaptureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<XInjector> x;

    // Taps Z as a marker: once its release is reported, everything injected before was read.
    QString settle() {
        x->tap(xKey(44));
        if (!QTest::qWaitFor([] { return reports.contains("1D-"); }, 5000))
            return QStringLiteral("(the marker never came)");
        const QString seen = reports.mid(0, reports.size() - 2).join(' ');
        reports.clear();
        return seen;
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server");
        x = std::make_unique<XInjector>();
        QVERIFY(x->isOpen());
        InputHooks::setKeyboardCallback(onKey, nullptr);
        InputHooks::setMouseCallback(onMouse, nullptr);
    }

    void keys() {
        x->key(xKey(31), true); // S, down before the capture exists
        InputHooks hooks(false);
        QVERIFY(hooks.installHooks());
        x->key(xKey(31), false);
        for (int i = 0; i < 3; ++i) // A held: the later presses are what auto-repeat sends
            x->key(xKey(30), true);
        x->key(xKey(30), false);
        QCOMPARE(settle(), QString("04+ 04-"));

        // Keys the hook tells apart by their extended flag, and two without a usage (right
        // Win, F13); the whole table is the core test's.
        for (unsigned evdev : {29, 97, 28, 96, 71, 102, 193, 126, 183})
            x->tap(xKey(evdev));
        QCOMPARE(settle(), QString("E0+ E0- E4+ E4- 28+ 28- 58+ 58- 5F+ 5F- 4A+ 4A- 72+ 72-"));
    }

    // Raw button events carry no position: the pointer is asked when the event is read, so
    // each burst is read before the pointer moves on.
    void buttons() {
        InputHooks hooks(false);
        QVERIFY(hooks.installHooks());
        x->moveTo(123, 456);
        x->click(1);
        for (unsigned b : {4u, 5u, 6u, 7u, 8u, 9u}) // wheel, tilt, side buttons
            x->click(b);
        QCOMPARE(settle(), QString("F0+@123,456 F0-@123,456"));
        x->moveTo(7, 9);
        x->click(3);
        x->click(2);
        QCOMPARE(settle(), QString("F1+@7,9 F1-@7,9 F2+@7,9 F2-@7,9"));

        hooks.removeHooks();
        x->tap(xKey(30));
        x->click(1);
        QVERIFY(hooks.installHooks());
        QCOMPARE(settle(), QString());
    }
};

QTEST_MAIN(X11CaptureTest)
#include "tst_input_x11.moc"
