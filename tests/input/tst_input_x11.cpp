// Desktop-wide capture on X: keys and buttons injected into the server as a user would make
// them reach the core as the hook would have reported them.
#include "InputHooks.h"
#include "XInjector.h"

#include <QtTest>

namespace {
struct Report {
    int code;
    int isDown;
    int x = -1;
    int y = -1;
    bool operator==(const Report &o) const {
        return code == o.code && isDown == o.isDown && x == o.x && y == o.y;
    }
};
QList<Report> reports;

void onKey(uchar usage, uchar isDown, void *) {
    reports.append({usage, isDown});
}
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports.append({code, isDown, x, y});
}

constexpr unsigned xKey(unsigned evdev) {
    return evdev + 8;
}
constexpr unsigned KEY_Z = 44; // the marker that shows the events before it were all read
constexpr int usageZ = 0x1D;
} // namespace

namespace QTest {
template <> char *toString(const Report &r) {
    return qstrdup(QString::asprintf("{%#x, %d, %d, %d}", r.code, r.isDown, r.x, r.y).toLatin1());
}
} // namespace QTest

class X11CaptureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<XInjector> x;

    // Everything injected before this call has been captured (or dropped) once it returns.
    QList<Report> settle() {
        x->tap(xKey(KEY_Z));
        const Report marker{usageZ, 0};
        if (!QTest::qWaitFor([&] { return reports.contains(marker); }, 5000))
            return {{-1, -1}};
        QList<Report> seen = reports;
        seen.removeAll(Report{usageZ, 1});
        seen.removeAll(marker);
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
    void init() { reports.clear(); }

    void keyHeldBeforeStartIsNotReleased() {
        x->key(xKey(31), true); // S, down before the capture exists
        InputHooks hooks(false);
        QVERIFY(hooks.isInstalled());
        x->key(xKey(31), false);
        QCOMPARE(settle(), QList<Report>{});
    }

    void heldKeyReportsOnce() {
        InputHooks hooks(false);
        x->key(xKey(30), true); // A
        x->key(xKey(30), true); // as the server's auto-repeat would
        x->key(xKey(30), true);
        x->key(xKey(30), false);
        QCOMPARE(settle(), (QList<Report>{{0x04, 1}, {0x04, 0}}));
    }

    void keysReachTheCoreAsTheHookSeesThem_data() {
        QTest::addColumn<unsigned>("evdev");
        QTest::addColumn<int>("usage");
        QTest::newRow("left ctrl") << 29u << 0xE0;
        QTest::newRow("right ctrl") << 97u << 0xE4;
        QTest::newRow("left shift") << 42u << 0xE1;
        QTest::newRow("right shift") << 54u << 0xE5;
        QTest::newRow("left alt") << 56u << 0xE2;
        QTest::newRow("right alt") << 100u << 0xE6;
        QTest::newRow("enter") << 28u << 0x28;
        QTest::newRow("keypad enter") << 96u << 0x58;
        QTest::newRow("keypad 7") << 71u << 0x5F;
        QTest::newRow("home") << 102u << 0x4A;
        QTest::newRow("pause") << 119u << 0x48;
        QTest::newRow("print screen") << 99u << 0x46;
        QTest::newRow("F23") << 193u << 0x72;
        QTest::newRow("num lock") << 69u << 0x53;
    }
    void keysReachTheCoreAsTheHookSeesThem() {
        QFETCH(unsigned, evdev);
        QFETCH(int, usage);
        InputHooks hooks(false);
        x->tap(xKey(evdev));
        QCOMPARE(settle(), (QList<Report>{{usage, 1}, {usage, 0}}));
    }

    void keysWithoutUsageAreSilent() {
        InputHooks hooks(false);
        x->tap(xKey(126)); // right Win
        for (unsigned f = 183; f <= 192; ++f) // F13-F22
            x->tap(xKey(f));
        x->tap(xKey(194)); // F24
        QCOMPARE(settle(), QList<Report>{});
    }

    void keysForAnotherClientAreSeenAndStillDelivered() {
        InputHooks hooks(false);
        QVERIFY(x->openFocusedWindow());
        x->tap(xKey(37)); // K
        x->tap(xKey(37));
        QCOMPARE(settle(), (QList<Report>{{0x0E, 1}, {0x0E, 0}, {0x0E, 1}, {0x0E, 0}}));
        QCOMPARE(x->takeKeyPresses(xKey(37)), 2);
    }

    // Raw button events carry no position: the pointer is asked when the event is read, so
    // each burst is read before the pointer moves on.
    void buttons() {
        InputHooks hooks(false);
        x->moveTo(123, 456);
        x->button(1, true);
        x->button(1, false);
        for (unsigned b : {4u, 5u, 6u, 7u, 8u, 9u}) { // wheel, tilt, side buttons
            x->button(b, true);
            x->button(b, false);
        }
        QCOMPARE(settle(), (QList<Report>{{0xF0, 1, 123, 456}, {0xF0, 0, 123, 456}}));
        x->moveTo(7, 9);
        x->button(3, true);
        x->button(3, false);
        x->button(2, true);
        x->button(2, false);
        QCOMPARE(settle(), (QList<Report>{{0xF1, 1, 7, 9}, {0xF1, 0, 7, 9}, {0xF2, 1, 7, 9}, {0xF2, 0, 7, 9}}));
    }

    void removedCaptureHearsNothing() {
        InputHooks hooks(false);
        hooks.removeHooks();
        x->tap(xKey(30));
        x->tap(xKey(KEY_Z));
        QTest::qWait(100);
        QVERIFY(reports.isEmpty());
        QVERIFY(hooks.installHooks());
        QCOMPARE(settle(), QList<Report>{});
    }
};

QTEST_MAIN(X11CaptureTest)
#include "tst_input_x11.moc"
