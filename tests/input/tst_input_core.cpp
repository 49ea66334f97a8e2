// The capture core every platform feeds: the translation of hook scan codes and evdev codes
// to keyboard usages, state filtering, mouse messages, install/remove, the capture's
// on-demand requests, and the fallback to the program's own windows without an X server.
#include "CaptureDemand.h"
#include "EvdevScanTable.h"
#include "InputHooks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <set>

namespace {
// "04+" a key's usage pressed, "F0-@3,4" a button released at a position; "?" for a key
// reported with another context than the one registered.
QStringList reports;
int context = 0;
int limitedNotes = 0;

void onKey(uchar usage, uchar isDown, void *ctx) {
    reports << QString::asprintf("%02X%c%s", usage, isDown ? '+' : '-', ctx == &context ? "" : "?");
}
void onMouse(uchar code, uchar isDown, int x, int y, void *) {
    reports << QString::asprintf("%02X%c@%d,%d", code, isDown ? '+' : '-', x, y);
}
QString taken() { return std::exchange(reports, {}).join(' '); }
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
    void initTestCase() {
        qunsetenv("DISPLAY");
        static QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &where, const QString &message) {
                limitedNotes += message.contains(QLatin1String("limited to the program's window"));
                previous(type, where, message);
            });
    }
    void init() {
        reports.clear();
        InputHooks::setKeyboardCallback(onKey, &context);
        InputHooks::setMouseCallback(onMouse, nullptr);
    }

    void keyStateAndMouseMessages() {
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
        QCOMPARE(taken(), QString("04+ 04- E2+ E2- E0+ E4+ E0- 07+ 07- E4-"));

        // With nobody listening the state still moves, so a later listener sees a consistent view.
        InputHooks::setKeyboardCallback(nullptr, nullptr);
        key(KeyDown, 0x21);
        InputHooks::setKeyboardCallback(onKey, &context);
        key(KeyDown, 0x21);
        key(KeyUp, 0x21);
        QCOMPARE(taken(), QString("09-"));

        for (quintptr message = 0x0200; message <= 0x020E; ++message)
            InputHooks::mouseEvent(message, int(message), -5);
        InputHooks::mouseEvent(HookMessage::LButtonDown, 1, 2); // buttons keep no state
        QCOMPARE(taken(), QString("F0+@513,-5 F0-@514,-5 F1+@516,-5 F1-@517,-5 F2+@519,-5 "
                                  "F2-@520,-5 F0+@1,2"));
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
            QCOMPARE(taken(), QString("2C+ 2C+"));
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

    void keyTablesAreCompleteRebuildTheSameAndTranslate() {
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

        // The hook's scan codes, with and without the extended flag.
        const struct {
            quint32 scan, flags;
            int usage;
            const char *key;
        } cases[] = {{0x1E, 0, 0x04, "A"},
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
                     {0x11E, 0, 0, "above 0xFF"}};
        for (const auto &c : cases)
            QVERIFY2(InputHooks::translate(c.scan, c.flags) == c.usage, c.key);

        // The keys the X capture sees land where the hook would put them; right Win, F13-F22,
        // F24 and codes beyond the table have none.
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
            const QString tsv = dir.filePath("t.tsv");
            QFile file(tsv);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("code\tname\tscan\text\tkey\n1\tKEY_ESC\t0x01\t0\tEscape\n" + row);
            file.close();
            QProcess cmake;
            cmake.start(
                QStringLiteral(Q7_CMAKE_COMMAND),
                {"-DINPUT=" + tsv, "-DOUTPUT=" + dir.filePath("out.cpp"), "-P",
                 qEnvironmentVariable("Q7_SOURCE_DIR") + "/input/data/generate-evdev-table.cmake"});
            QVERIFY(cmake.waitForFinished(30000));
            QVERIFY2(cmake.exitCode() != 0 && !QFile::exists(dir.filePath("out.cpp")),
                     row.constData());
        }
    }

    // Without an X server the capture falls back to the program's own windows, and says so once.
    // (Declared on every system: the Windows syntax check compiles this file against the moc
    // output of the Linux build.)
    void windowEventsAreCapturedOnce() {
#ifdef Q_OS_WIN
        QSKIP("Windows captures through its own hooks");
#else
        const auto key = [](QObject *target, QEvent::Type type, quint32 evdev) {
            QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, evdev + 8, 0, 0);
            QCoreApplication::sendEvent(target, &event);
        };
        const auto click = [](QObject *target, QEvent::Type type, Qt::MouseButton button,
                              QPointF global) {
            QMouseEvent event(type, QPointF(1, 1), QPointF(1, 1), global, button, button,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(target, &event);
        };
        InputHooks hooks(false);
        QVERIFY(hooks.installHooks());
        QCOMPARE(limitedNotes, 1);
        QWindow window;
        QWidget widget;
        key(&window, QEvent::KeyPress, 30); // A
        key(&widget, QEvent::KeyPress, 48); // B, after the window passed it on
        key(&window, QEvent::KeyRelease, 30);
        key(&window, QEvent::KeyPress, 96); // keypad Enter
        key(&window, QEvent::KeyRelease, 96);
        click(&window, QEvent::MouseButtonPress, Qt::LeftButton, {300, 200});
        click(&window, QEvent::MouseButtonDblClick, Qt::LeftButton, {300, 200});
        click(&widget, QEvent::MouseButtonPress, Qt::RightButton, {5, 5});
        click(&window, QEvent::MouseButtonRelease, Qt::LeftButton, {301, 202});
        click(&window, QEvent::MouseButtonPress, Qt::BackButton, {1, 1});
        click(&window, QEvent::MouseButtonPress, Qt::MiddleButton, {-4, 7});
        QCOMPARE(taken(), QString("04+ 04- 58+ 58- F0+@300,200 F0-@301,202 F2+@-4,7"));
        hooks.removeHooks();
        key(&window, QEvent::KeyPress, 30);
        QVERIFY(reports.isEmpty());
        QVERIFY(hooks.installHooks());
        QCOMPARE(limitedNotes, 1);
#endif
    }
};

QTEST_MAIN(CoreTest)
#include "tst_input_core.moc"
