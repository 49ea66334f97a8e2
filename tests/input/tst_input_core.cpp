// The capture core every platform feeds: state filtering, mouse messages, install/remove,
// and the warning message check.
#include "InputHooks.h"
#include "ScriptedDialogs.h"

#include <QWidget>
#include <QtTest>

namespace {
using Reports = QList<QList<int>>;
Reports reports;
int context = 0;

void onKey(uchar usage, uchar isDown, void *ctx) {
    reports.append({usage, isDown, ctx == &context});
}
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports.append({code, isDown, x, y});
}
void key(quintptr message, quint32 scan, quint32 flags = 0, int code = HookMessage::Action) {
    InputHooks::keyboardEvent(code, message, scan, flags);
}
std::unique_ptr<CaptureBackend> noCapture() { return nullptr; }

int removes = 0;
struct FakeCapture : CaptureBackend {
    bool works = true;
    bool install() override { return works; }
    void remove() override { ++removes; }
};
} // namespace

class CoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        reports.clear();
        InputHooks::setKeyboardCallback(onKey, &context);
        InputHooks::setMouseCallback(onMouse, nullptr);
    }

    void keyStateFilter() {
        InputHooks hooks(false, noCapture);
        using namespace HookMessage;
        key(KeyUp, 0x1F);   // S held since before the start: silent
        key(KeyDown, 0x1E); // A, then auto-repeats
        key(KeyDown, 0x1E);
        key(KeyUp, 0x1E);
        key(KeyUp, 0x1E);
        key(SysKeyDown, 0x38); // Alt comes as a system key
        key(SysKeyUp, 0x38);
        key(KeyDown, 0x1D); // both Ctrl keys down together
        key(KeyDown, 0x1D, Extended);
        key(KeyUp, 0x1D);
        key(KeyDown, 0x20); // D; a code other than HC_ACTION counts as release
        key(KeyDown, 0x20, 0, 3);
        key(KeyUp, 0x1D, Extended);
        QCOMPARE(reports, (Reports{{0x04, 1, 1},
                                   {0x04, 0, 1},
                                   {0xE2, 1, 1},
                                   {0xE2, 0, 1},
                                   {0xE0, 1, 1},
                                   {0xE4, 1, 1},
                                   {0xE0, 0, 1},
                                   {0x07, 1, 1},
                                   {0x07, 0, 1},
                                   {0xE4, 0, 1}}));

        // With nobody listening the state still moves, so a later listener sees a consistent view.
        reports.clear();
        InputHooks::setKeyboardCallback(nullptr, nullptr);
        key(KeyDown, 0x21);
        InputHooks::setKeyboardCallback(onKey, &context);
        key(KeyDown, 0x21);
        key(KeyUp, 0x21);
        QCOMPARE(reports, (Reports{{0x09, 0, 1}}));
    }

    void mouseMessages() {
        InputHooks hooks(false, noCapture);
        for (quintptr message = 0x0200; message <= 0x020E; ++message)
            InputHooks::mouseEvent(message, int(message), -5);
        InputHooks::mouseEvent(HookMessage::LButtonDown, 1, 2); // buttons keep no state
        QCOMPARE(reports, (Reports{{0xF0, 1, 0x201, -5},
                                   {0xF0, 0, 0x202, -5},
                                   {0xF1, 1, 0x204, -5},
                                   {0xF1, 0, 0x205, -5},
                                   {0xF2, 1, 0x207, -5},
                                   {0xF2, 0, 0x208, -5},
                                   {0xF0, 1, 1, 2}}));
    }

    void captureLifecycle() {
        FakeCapture *made = nullptr;
        {
            InputHooks hooks(false, [&] {
                auto c = std::make_unique<FakeCapture>();
                made = c.get();
                return c;
            });
            QVERIFY(hooks.isInstalled());
            QVERIFY(hooks.installHooks()); // reinstalling removes first
            QCOMPARE(removes, 1);
            made->works = false;
            QVERIFY(!hooks.installHooks());
            QVERIFY(!hooks.isInstalled());
        }
        QCOMPARE(removes, 3); // once more as the owner goes
        InputHooks none(false, noCapture);
        QVERIFY(!none.installHooks());
    }

    void warningMessages() {
        const QByteArray text = QStringLiteral("Größe ✓").toUtf8();
        const struct {
            quintptr tag;
            QByteArray bytes;
            bool shown;
            const char *what;
        } cases[] = {
            {9487, text, true, "exact UTF-8 length"},
            {9487, text + '\0', false, "NUL counted"},
            {9486, text, false, "another tag"},
            {9487, text.left(3), false, "cut inside a character"},
            {9487, QByteArray("ab\0cd", 5), false, "NUL in the middle"},
            {9487, QByteArray(), true, "empty"},
        };
        ScriptedDialogs dialogs;
        QWidget window;
        window.setWindowTitle(QStringLiteral("Q7 Config"));
        for (const auto &c : cases) {
            const CopyDataMessage m{c.tag, quint32(c.bytes.size()), c.bytes.constData()};
            const qsizetype before = dialogs.shown.size();
            showCopyDataWarning(&m, &window);
            QVERIFY2((dialogs.shown.size() > before) == c.shown, c.what);
            if (c.shown)
                QVERIFY(dialogs.shown.last().title == "Q7 Config" &&
                        dialogs.shown.last().text.toUtf8() == c.bytes);
        }
        const CopyDataMessage noData{copyDataWarningTag, 4, nullptr},
            good{copyDataWarningTag, 2, "ok"};
        showCopyDataWarning(&noData, &window);
        showCopyDataWarning(&good, nullptr);
        QCOMPARE(dialogs.count("warning"), 2);
    }
};

QTEST_MAIN(CoreTest)
#include "tst_input_core.moc"
