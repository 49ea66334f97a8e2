// Translation of hook scan codes and evdev codes to keyboard usages.
#include "EvdevScanTable.h"
#include "InputHooks.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {
std::unique_ptr<CaptureBackend> noCapture() { return nullptr; }
constexpr quint32 E0 = HookMessage::Extended;
} // namespace

class TablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TablesTest)
#include "tst_input_tables.moc"
