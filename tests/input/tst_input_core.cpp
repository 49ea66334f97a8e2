// The capture core every platform feeds: state filtering, mouse messages, install/remove,
// and the warning message check.
#include "InputHooks.h"
#include "ScriptedDialogs.h"

#include <QWidget>
#include <QtTest>

namespace {
struct Report {
    int code;
    int isDown;
    int x = 0;
    int y = 0;
    bool operator==(const Report &o) const {
        return code == o.code && isDown == o.isDown && x == o.x && y == o.y;
    }
};

QList<Report> keys;
QList<Report> buttons;
void *seenContext = nullptr;

void onKey(uchar usage, uchar isDown, void *context) {
    keys.append({usage, isDown});
    seenContext = context;
}
void onMouse(uchar code, uchar isDown, int x, int y, void *context) {
    buttons.append({code, isDown, x, y});
    seenContext = context;
}

void press(quint32 scan, quint32 flags = 0) {
    InputHooks::keyboardEvent(HookMessage::Action, HookMessage::KeyDown, scan, flags);
}
void release(quint32 scan, quint32 flags = 0) {
    InputHooks::keyboardEvent(HookMessage::Action, HookMessage::KeyUp, scan, flags);
}

struct FakeCapture : CaptureBackend {
    bool works = true;
    int *installs;
    int *removes;
    FakeCapture(int *i, int *r) : installs(i), removes(r) {}
    bool install() override {
        ++*installs;
        return works;
    }
    void remove() override { ++*removes; }
};

std::unique_ptr<CaptureBackend> noCapture() {
    return nullptr;
}
} // namespace

namespace QTest {
template <> char *toString(const Report &r) {
    return qstrdup(QString::asprintf("{%#x, %d, %d, %d}", r.code, r.isDown, r.x, r.y).toLatin1());
}
} // namespace QTest

class CoreTest : public QObject {
    Q_OBJECT
    int context = 0;
private Q_SLOTS:
    void init() {
        keys.clear();
        buttons.clear();
        seenContext = nullptr;
        InputHooks::setKeyboardCallback(onKey, &context);
        InputHooks::setMouseCallback(onMouse, &context);
    }

    void heldKeyReportsOnePressAndOneRelease() {
        InputHooks hooks(false, noCapture);
        press(0x1E);
        press(0x1E); // auto-repeat
        press(0x1E);
        release(0x1E);
        release(0x1E);
        QCOMPARE(keys, (QList<Report>{{0x04, 1}, {0x04, 0}}));
        QCOMPARE(seenContext, static_cast<void *>(&context));
    }

    void releaseWithoutReportedPressIsSilent() {
        InputHooks hooks(false, noCapture);
        release(0x1F); // S, held since before the start
        QVERIFY(keys.isEmpty());
    }

    // Press and release must be recognised whatever message or hook code carries them.
    void messageAndCodeDecideTheDirection() {
        InputHooks hooks(false, noCapture);
        InputHooks::keyboardEvent(HookMessage::Action, HookMessage::SysKeyDown, 0x38, 0); // Alt
        InputHooks::keyboardEvent(HookMessage::Action, HookMessage::SysKeyUp, 0x38, 0);
        InputHooks::keyboardEvent(HookMessage::Action, HookMessage::KeyDown, 0x20, 0); // D
        InputHooks::keyboardEvent(3, HookMessage::KeyDown, 0x20, 0); // not HC_ACTION: a release
        QCOMPARE(keys, (QList<Report>{{0xE2, 1}, {0xE2, 0}, {0x07, 1}, {0x07, 0}}));
    }

    // Right and left keys share a scan byte; each keeps its own state.
    void sidesOfAModifierKeepSeparateState() {
        InputHooks hooks(false, noCapture);
        press(0x1D);
        press(0x1D, HookMessage::Extended);
        release(0x1D);
        release(0x1D, HookMessage::Extended);
        QCOMPARE(keys, (QList<Report>{{0xE0, 1}, {0xE4, 1}, {0xE0, 0}, {0xE4, 0}}));
    }

    void untranslatableKeysAreNotReported() {
        InputHooks hooks(false, noCapture);
        press(0);
        press(0x5C, HookMessage::Extended); // right Win
        press(0x64);                        // F13
        press(0x54);                        // SysRq without Alt
        QVERIFY(keys.isEmpty());
    }

    // With nobody listening the state still moves, so a later listener gets a consistent view.
    void stateIsKeptWithoutCallback() {
        InputHooks hooks(false, noCapture);
        InputHooks::setKeyboardCallback(nullptr, nullptr);
        press(0x21); // F
        InputHooks::setKeyboardCallback(onKey, &context);
        press(0x21);
        release(0x21);
        QCOMPARE(keys, (QList<Report>{{0x09, 0}}));
    }

    void mouseMessages() {
        InputHooks hooks(false, noCapture);
        for (quintptr message = 0x0200; message <= 0x020E; ++message)
            InputHooks::mouseEvent(message, int(message), -5);
        QCOMPARE(buttons, (QList<Report>{{0xF0, 1, 0x201, -5},
                                         {0xF0, 0, 0x202, -5},
                                         {0xF1, 1, 0x204, -5},
                                         {0xF1, 0, 0x205, -5},
                                         {0xF2, 1, 0x207, -5},
                                         {0xF2, 0, 0x208, -5}}));
        // Buttons have no state: a second down is reported too.
        InputHooks::mouseEvent(HookMessage::LButtonDown, 1, 2);
        InputHooks::mouseEvent(HookMessage::LButtonDown, 1, 2);
        QCOMPARE(buttons.size(), 8);
        InputHooks::setMouseCallback(nullptr, nullptr);
        InputHooks::mouseEvent(HookMessage::LButtonUp, 1, 2);
        QCOMPARE(buttons.size(), 8);
    }

    void captureLifecycle() {
        int installs = 0, removes = 0;
        FakeCapture *made = nullptr;
        auto factory = [&]() -> std::unique_ptr<CaptureBackend> {
            auto c = std::make_unique<FakeCapture>(&installs, &removes);
            made = c.get();
            return c;
        };
        {
            InputHooks hooks(false, factory);
            QVERIFY(hooks.isInstalled());
            QCOMPARE(installs, 1);
            QVERIFY(hooks.installHooks()); // reinstalling removes first
            QCOMPARE(removes, 1);
            QCOMPARE(installs, 2);
            made->works = false;
            QVERIFY(!hooks.installHooks());
            QVERIFY(!hooks.isInstalled());
        }
        QCOMPARE(removes, 3); // and once more when the owner goes
        InputHooks none(false, noCapture);
        QVERIFY(!none.isInstalled());
        QVERIFY(!none.installHooks());
    }

    void warningText_data() {
        QTest::addColumn<quintptr>("tag");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("shown");
        const QByteArray text = QStringLiteral("Größe ✓").toUtf8();
        QTest::newRow("exact UTF-8 length") << quintptr(9487) << text << int(text.size()) << true;
        QTest::newRow("NUL counted") << quintptr(9487) << text + '\0' << int(text.size()) + 1 << false;
        QTest::newRow("another tag") << quintptr(9486) << text << int(text.size()) << false;
        QTest::newRow("cut inside a character") << quintptr(9487) << text.left(3) << 3 << false;
        QTest::newRow("not UTF-8") << quintptr(9487) << QByteArray("ab\xff") << 3 << false;
        QTest::newRow("NUL in the middle") << quintptr(9487) << QByteArray("ab\0cd", 5) << 5 << false;
        QTest::newRow("empty") << quintptr(9487) << QByteArray() << 0 << true;
    }
    void warningText() {
        QFETCH(quintptr, tag);
        QFETCH(QByteArray, bytes);
        QFETCH(int, length);
        QFETCH(bool, shown);
        CopyDataMessage m;
        m.dwData = tag;
        m.cbData = quint32(length);
        m.lpData = bytes.constData();
        const std::optional<QString> text = copyDataWarningText(m);
        QCOMPARE(text.has_value(), shown);
        if (shown)
            QCOMPARE(text->toUtf8(), bytes);
    }

    void warningBoxCarriesTheWindowTitle() {
        ScriptedDialogs dialogs;
        QWidget window;
        window.setWindowTitle(QStringLiteral("Q7 Config"));
        const QByteArray text("Firmware update needed");
        CopyDataMessage m{copyDataWarningTag, quint32(text.size()), text.constData()};
        showCopyDataWarning(&m, &window);
        showCopyDataWarning(&m, nullptr);
        CopyDataMessage noData{copyDataWarningTag, 4, nullptr};
        showCopyDataWarning(&noData, &window);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, QStringLiteral("warning"));
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Q7 Config"));
        QCOMPARE(dialogs.shown[0].text, QString::fromUtf8(text));
    }
};

QTEST_MAIN(CoreTest)
#include "tst_input_core.moc"
