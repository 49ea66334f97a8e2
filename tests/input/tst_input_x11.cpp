// Desktop-wide capture on X: keys and buttons injected into the server as a user would make
// them (exact keycodes through XTest) reach the core as the Windows hook would report them.
#include "InputHooks.h"
#include "XInjector.h"

#include <QtTest>

namespace {
using Reports = QList<QList<int>>;
Reports reports;

void onKey(uchar usage, uchar isDown, void *) { reports.append({usage, isDown}); }
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports.append({code, isDown, x, y});
}
constexpr unsigned xKey(unsigned evdev) { return evdev + 8; }
} // namespace

class X11CaptureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<XInjector> x;

    // Taps Z as a marker: once its release is reported, everything injected before was read.
    Reports settle() {
        x->tap(xKey(44));
        if (!QTest::qWaitFor([] { return reports.contains(QList<int>{0x1D, 0}); }, 5000))
            return {{-1}};
        Reports seen = reports.mid(0, reports.size() - 2);
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
        QCOMPARE(settle(), (Reports{{0x04, 1}, {0x04, 0}}));

        // Keys the hook tells apart by their extended flag, and two without a usage (right
        // Win, F13); the whole table is the core test's.
        const struct {
            unsigned evdev;
            int usage;
        } taps[] = {{29, 0xE0},  {97, 0xE4},  {28, 0x28}, {96, 0x58}, {71, 0x5F},
                    {102, 0x4A}, {193, 0x72}, {126, 0},   {183, 0}};
        Reports expected;
        for (const auto &t : taps) {
            x->tap(xKey(t.evdev));
            if (t.usage)
                expected << QList<int>{t.usage, 1} << QList<int>{t.usage, 0};
        }
        QCOMPARE(settle(), expected);
    }

    void keysForAnotherClientAreSeenAndStillDelivered() {
        InputHooks hooks(false);
        QVERIFY(hooks.installHooks());
        QVERIFY(x->openFocusedWindow());
        x->tap(xKey(37)); // K
        x->tap(xKey(37));
        QCOMPARE(settle(), (Reports{{0x0E, 1}, {0x0E, 0}, {0x0E, 1}, {0x0E, 0}}));
        QCOMPARE(x->takeKeyPresses(xKey(37)), 2);
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
        QCOMPARE(settle(), (Reports{{0xF0, 1, 123, 456}, {0xF0, 0, 123, 456}}));
        x->moveTo(7, 9);
        x->click(3);
        x->click(2);
        QCOMPARE(settle(),
                 (Reports{{0xF1, 1, 7, 9}, {0xF1, 0, 7, 9}, {0xF2, 1, 7, 9}, {0xF2, 0, 7, 9}}));

        hooks.removeHooks();
        x->tap(xKey(30));
        x->click(1);
        QVERIFY(hooks.installHooks());
        QCOMPARE(settle(), Reports{});
    }
};

QTEST_MAIN(X11CaptureTest)
#include "tst_input_x11.moc"
