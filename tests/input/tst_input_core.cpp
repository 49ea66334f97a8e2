// The capture core every platform feeds: the translation of hook scan codes and evdev codes
// to keyboard usages, state filtering, mouse messages, install/remove, the capture's
// on-demand requests, and the warning message check.
#include "CaptureDemand.h"
#include "EvdevScanTable.h"
#include "InputHooks.h"
#include "ScriptedDialogs.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <set>

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
constexpr quint32 E0 = HookMessage::Extended;

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

    // Nothing is captured until asked; a key whose release went unheard while the capture was
    // off is not taken for a held key when it is pressed again.
    void captureLifecycle() {
        FakeCapture *made = nullptr;
        {
            InputHooks hooks(false, [&] {
                auto c = std::make_unique<FakeCapture>();
                made = c.get();
                return c;
            });
            QVERIFY(!hooks.isInstalled());
            QVERIFY(hooks.installHooks());
            key(HookMessage::KeyDown, 0x39); // Space, taken; its release comes while off
            hooks.removeHooks();
            QVERIFY(hooks.installHooks());
            key(HookMessage::KeyDown, 0x39);
            QCOMPARE(reports, (Reports{{0x2C, 1, 1}, {0x2C, 1, 1}}));
            QVERIFY(hooks.installHooks()); // reinstalling removes first
            QCOMPARE(removes, 2);
            made->works = false;
            QVERIFY(!hooks.installHooks());
            QVERIFY(!hooks.isInstalled());
        }
        QCOMPARE(removes, 4); // once more as the owner goes
        InputHooks none(false, noCapture);
        QVERIFY(!none.installHooks());
    }

    // The capture listens while any request is open: counted per holder, nested, and given
    // back by a holder that is destroyed with requests open.
    void captureOnDemand() {
        QList<bool> switched;
        CaptureDemand demand([&](bool listen) { switched.append(listen); });
        QObject field, recorder;
        demand.request(&field);
        demand.request(&recorder);
        demand.request(&field); // armed again before its first request closed
        demand.release(&field);
        demand.release(&recorder);
        QVERIFY(demand.listening());
        demand.release(&recorder); // one release too many changes nothing
        demand.release(&field);
        demand.request(nullptr);
        QCOMPARE(switched, (QList<bool>{true, false}));
        QCOMPARE(demand.openRequests(), 0);

        auto *page = new QObject;
        demand.request(page);
        demand.request(page);
        demand.request(&field);
        delete page;
        QVERIFY(demand.listening());
        demand.release(&field);
        QCOMPARE(switched, (QList<bool>{true, false, true, false}));
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

    void tablesAreCompleteAndRebuildTheSame() {
        InputHooks first(false, noCapture);
        const ScanToVkMap scanToVk = InputHooks::scanToVk();
        const VkToUsageMap vkToUsage = InputHooks::vkToUsage();
        QCOMPARE(scanToVk.size(), size_t(105));
        QCOMPARE(vkToUsage.size(), size_t(121));
        // One scan key per virtual key, and no two keys recording as the same usage.
        std::set<quint8> vks, usages;
        for (const auto &[key, vk] : scanToVk)
            QVERIFY(vks.insert(vk).second && vkToUsage.count(vk));
        for (const auto &[vk, usage] : vkToUsage)
            QVERIFY(usages.insert(usage).second && usage != 0);

        InputHooks iso(true, noCapture);
        QCOMPARE(InputHooks::translate(0x2B, 0), quint8(0x32));
        VkToUsageMap isoTable = InputHooks::vkToUsage();
        isoTable[Vk::Oem5] = 0x31;
        QVERIFY(isoTable == vkToUsage);
        InputHooks again(false, noCapture);
        QVERIFY(InputHooks::scanToVk() == scanToVk && InputHooks::vkToUsage() == vkToUsage);
    }

    void hookScanCodes() {
        InputHooks hooks(false, noCapture);
        const struct {
            quint32 scan, flags;
            int usage;
            const char *key;
        } cases[] = {
            {0x1E, 0, 0x04, "A"},
            {0x1D, 0, 0xE0, "left ctrl"},
            {0x1D, E0, 0xE4, "right ctrl"},
            {0x36, E0, 0xE5, "r shift"},
            {0x36, 0, 0, "36 without E0"},
            {0x38, E0, 0xE6, "right alt"},
            {0x5B, E0, 0xE3, "left win"},
            {0x5C, E0, 0, "right win"},
            {0x1C, 0, 0x28, "enter"},
            {0x1C, E0, 0x58, "kp enter"},
            {0x47, 0, 0x5F, "keypad 7"},
            {0x47, E0, 0x4A, "home"},
            {0x45, 0, 0x48, "pause"},
            {0x45, E0, 0x53, "num lock"},
            {0x46, 0, 0x47, "scroll lock"},
            {0x46, E0, 0x48, "break"},
            {0x37, E0, 0x46, "print"},
            {0x54, HookMessage::AltDown, 0x46, "sysrq"},
            {0x54, 0, 0, "54 alone"},
            {0x64, 0, 0, "F13"},
            {0x6E, 0, 0x72, "F23"},
            {0x76, 0, 0, "F24"},
            {0, 0, 0, "scan 0"},
            {0x11E, 0, 0, "above 0xFF"},
        };
        for (const auto &c : cases)
            QVERIFY2(InputHooks::translate(c.scan, c.flags) == c.usage, c.key);
    }

    // The keys the X capture sees land where the hook would put them; right Win, F13-F22, F24
    // and codes beyond the table have none.
    void evdevTable() {
        InputHooks hooks(false, noCapture);
        const struct {
            unsigned evdev;
            int usage;
        } keys[] = {{29, 0xE0},  {97, 0xE4}, {42, 0xE1}, {54, 0xE5},  {56, 0xE2},  {100, 0xE6},
                    {28, 0x28},  {96, 0x58}, {71, 0x5F}, {102, 0x4A}, {119, 0x48}, {99, 0x46},
                    {193, 0x72}, {69, 0x53}, {86, 0x64}, {127, 0x65}, {125, 0xE3}, {126, 0},
                    {113, 0},    {250, 0},   {5000, 0},  {183, 0},    {184, 0},    {185, 0},
                    {186, 0},    {187, 0},   {188, 0},   {189, 0},    {190, 0},    {191, 0},
                    {192, 0},    {194, 0}};
        for (const auto &k : keys) {
            quint8 scan = 0;
            bool extended = false;
            const bool known = evdevToScan(k.evdev, scan, extended);
            QCOMPARE(known ? int(InputHooks::translate(scan, extended ? E0 : 0)) : 0, k.usage);
        }
    }

    // A broken data file must stop the build rather than produce a table with a wrong key.
    void generatorRejectsBrokenData() {
        const QByteArray bad[] = {"30\tKEY_A\t1E\t0\n", "30\tKEY_A\t0x1E\t2\n",
                                  "300\tKEY_A\t0x1E\t0\n", "1\tKEY_A\t0x1E\t0\n",
                                  "30\tKEY_A\t0x1E\n"};
        for (const QByteArray &row : bad) {
            QTemporaryDir dir;
            QFile tsv(dir.filePath("t.tsv"));
            QVERIFY(tsv.open(QIODevice::WriteOnly));
            tsv.write("code\tname\tscan\text\tkey\n1\tKEY_ESC\t0x01\t0\tEscape\n" + row);
            tsv.close();
            QProcess cmake;
            cmake.start(
                QStringLiteral(Q7_CMAKE_COMMAND),
                {"-DINPUT=" + tsv.fileName(), "-DOUTPUT=" + dir.filePath("out.cpp"), "-P",
                 qEnvironmentVariable("Q7_SOURCE_DIR") + "/input/data/generate-evdev-table.cmake"});
            QVERIFY(cmake.waitForFinished(30000));
            QVERIFY2(cmake.exitCode() != 0 && !QFile::exists(dir.filePath("out.cpp")),
                     row.constData());
        }
    }
};

QTEST_MAIN(CoreTest)
#include "tst_input_core.moc"
