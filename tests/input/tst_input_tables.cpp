// Translation of hook scan codes and evdev codes to keyboard usages.
#include "EvdevScanTable.h"
#include "InputHooks.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {
std::unique_ptr<CaptureBackend> noCapture() {
    return nullptr;
}

constexpr quint32 E0 = HookMessage::Extended;
constexpr quint32 Alt = HookMessage::AltDown;

// Usage for an evdev key code, the way the Linux capture reaches the core.
quint8 usageForEvdev(unsigned code) {
    quint8 scan = 0;
    bool extended = false;
    if (!evdevToScan(code, scan, extended))
        return 0;
    return InputHooks::translate(scan, extended ? E0 : 0);
}
} // namespace

class TablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablesAreCompleteAndConsistent() {
        InputHooks hooks(false, noCapture);
        const ScanToVkMap &scanToVk = InputHooks::scanToVk();
        const VkToUsageMap &vkToUsage = InputHooks::vkToUsage();
        QCOMPARE(scanToVk.size(), size_t(105));
        QCOMPARE(vkToUsage.size(), size_t(121));
        // Each virtual key comes from one scan key, and each has a usage.
        std::set<quint8> vks;
        for (const auto &[key, vk] : scanToVk) {
            QVERIFY2(vks.insert(vk).second, qPrintable(QString::number(vk, 16)));
            QVERIFY(vkToUsage.count(vk));
            QVERIFY(vkToUsage.at(vk) != 0);
        }
        // Two keys that report the same usage could not be told apart in a recording.
        std::set<quint8> usages;
        for (const auto &[vk, usage] : vkToUsage)
            QVERIFY2(usages.insert(usage).second, qPrintable(QString::number(usage, 16)));
    }

    void rebuildingGivesTheSameTables() {
        ScanToVkMap scanToVk;
        VkToUsageMap vkToUsage;
        {
            InputHooks first(false, noCapture);
            scanToVk = InputHooks::scanToVk();
            vkToUsage = InputHooks::vkToUsage();
        }
        InputHooks second(false, noCapture);
        QVERIFY(InputHooks::scanToVk() == scanToVk);
        QVERIFY(InputHooks::vkToUsage() == vkToUsage);
    }

    void isoFlagOnlyChangesTheKeyLeftOfEnter() {
        InputHooks us(false, noCapture);
        const VkToUsageMap usTable = InputHooks::vkToUsage();
        QCOMPARE(InputHooks::translate(0x2B, 0), quint8(0x31));
        InputHooks iso(true, noCapture);
        QCOMPARE(InputHooks::translate(0x2B, 0), quint8(0x32));
        VkToUsageMap isoTable = InputHooks::vkToUsage();
        isoTable[Vk::Oem5] = 0x31;
        QVERIFY(isoTable == usTable);
    }

    void hookScanCodes_data() {
        QTest::addColumn<quint32>("scan");
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<int>("usage");
        QTest::newRow("A") << 0x1Eu << 0u << 0x04;
        QTest::newRow("left ctrl") << 0x1Du << 0u << 0xE0;
        QTest::newRow("right ctrl") << 0x1Du << E0 << 0xE4;
        QTest::newRow("left shift") << 0x2Au << 0u << 0xE1;
        QTest::newRow("right shift") << 0x36u << E0 << 0xE5;
        QTest::newRow("right shift without E0") << 0x36u << 0u << 0;
        QTest::newRow("left alt") << 0x38u << 0u << 0xE2;
        QTest::newRow("right alt") << 0x38u << E0 << 0xE6;
        QTest::newRow("left win") << 0x5Bu << E0 << 0xE3;
        QTest::newRow("right win") << 0x5Cu << E0 << 0;
        QTest::newRow("enter") << 0x1Cu << 0u << 0x28;
        QTest::newRow("keypad enter") << 0x1Cu << E0 << 0x58;
        QTest::newRow("keypad 7") << 0x47u << 0u << 0x5F;
        QTest::newRow("home") << 0x47u << E0 << 0x4A;
        QTest::newRow("keypad period") << 0x53u << 0u << 0x63;
        QTest::newRow("delete") << 0x53u << E0 << 0x4C;
        QTest::newRow("pause") << 0x45u << 0u << 0x48;
        QTest::newRow("num lock") << 0x45u << E0 << 0x53;
        QTest::newRow("scroll lock") << 0x46u << 0u << 0x47;
        QTest::newRow("break (ctrl+pause)") << 0x46u << E0 << 0x48;
        QTest::newRow("print screen") << 0x37u << E0 << 0x46;
        QTest::newRow("sysrq (alt+print)") << 0x54u << Alt << 0x46;
        QTest::newRow("sysrq without alt") << 0x54u << 0u << 0;
        QTest::newRow("F12") << 0x58u << 0u << 0x45;
        QTest::newRow("F13") << 0x64u << 0u << 0;
        QTest::newRow("F23") << 0x6Eu << 0u << 0x72;
        QTest::newRow("F24") << 0x76u << 0u << 0;
        QTest::newRow("scan 0 (injected)") << 0u << 0u << 0;
        // Only the low byte would be A; a code above 0xFF is not a real scan code.
        QTest::newRow("above 0xFF") << 0x11Eu << 0u << 0;
    }
    void hookScanCodes() {
        QFETCH(quint32, scan);
        QFETCH(quint32, flags);
        QFETCH(int, usage);
        InputHooks hooks(false, noCapture);
        QCOMPARE(int(InputHooks::translate(scan, flags)), usage);
    }

    void evdevCodes_data() {
        QTest::addColumn<unsigned>("evdev");
        QTest::addColumn<int>("usage");
        QTest::newRow("KEY_A") << 30u << 0x04;
        QTest::newRow("KEY_LEFTCTRL") << 29u << 0xE0;
        QTest::newRow("KEY_RIGHTCTRL") << 97u << 0xE4;
        QTest::newRow("KEY_LEFTSHIFT") << 42u << 0xE1;
        QTest::newRow("KEY_RIGHTSHIFT") << 54u << 0xE5;
        QTest::newRow("KEY_LEFTALT") << 56u << 0xE2;
        QTest::newRow("KEY_RIGHTALT") << 100u << 0xE6;
        QTest::newRow("KEY_ENTER") << 28u << 0x28;
        QTest::newRow("KEY_KPENTER") << 96u << 0x58;
        QTest::newRow("KEY_KP7") << 71u << 0x5F;
        QTest::newRow("KEY_HOME") << 102u << 0x4A;
        QTest::newRow("KEY_PAUSE") << 119u << 0x48;
        QTest::newRow("KEY_SYSRQ") << 99u << 0x46;
        QTest::newRow("KEY_NUMLOCK") << 69u << 0x53;
        QTest::newRow("KEY_F23") << 193u << 0x72;
        QTest::newRow("KEY_102ND") << 86u << 0x64;
        QTest::newRow("KEY_COMPOSE") << 127u << 0x65;
        QTest::newRow("KEY_LEFTMETA") << 125u << 0xE3;
        QTest::newRow("KEY_RIGHTMETA") << 126u << 0;
        QTest::newRow("KEY_F13") << 183u << 0;
        QTest::newRow("KEY_F22") << 192u << 0;
        QTest::newRow("KEY_F24") << 194u << 0;
        QTest::newRow("KEY_MUTE") << 113u << 0;
        QTest::newRow("no such code") << 250u << 0;
        QTest::newRow("out of range") << 5000u << 0;
    }
    void evdevCodes() {
        QFETCH(unsigned, evdev);
        QFETCH(int, usage);
        InputHooks hooks(false, noCapture);
        QCOMPARE(int(usageForEvdev(evdev)), usage);
    }

    // The generated table holds every row of the data file, and only those.
    void generatedTableMatchesTheDataFile() {
        QFile file(qEnvironmentVariable("Q7_SOURCE_DIR") + "/input/data/evdev-to-set1.tsv");
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        file.readLine();
        int rows = 0;
        while (!file.atEnd()) {
            const QList<QByteArray> f = file.readLine().trimmed().split('\t');
            if (f.size() < 4 || f[0].startsWith('#'))
                continue;
            ++rows;
            quint8 scan = 0;
            bool extended = false;
            QVERIFY2(evdevToScan(f[0].toUInt(), scan, extended), f[1].constData());
            QCOMPARE(scan, quint8(f[2].toUInt(nullptr, 16)));
            QCOMPARE(extended, f[3] == "1");
        }
        QCOMPARE(evdevScanRowCount, rows);
    }

    // A broken data file must stop the build rather than produce a table with a wrong key.
    void generatorRejectsBrokenData_data() {
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("scan not hex") << QByteArray("30\tKEY_A\t1E\t0\tA\n");
        QTest::newRow("bad extended flag") << QByteArray("30\tKEY_A\t0x1E\t2\tA\n");
        QTest::newRow("code out of range") << QByteArray("300\tKEY_A\t0x1E\t0\tA\n");
        QTest::newRow("repeated code") << QByteArray("30\tKEY_A\t0x1E\t0\tA\n30\tKEY_B\t0x30\t0\tB\n");
        QTest::newRow("short row") << QByteArray("30\tKEY_A\t0x1E\n");
    }
    void generatorRejectsBrokenData() {
        QFETCH(QByteArray, row);
        QTemporaryDir dir;
        QFile tsv(dir.filePath("t.tsv"));
        QVERIFY(tsv.open(QIODevice::WriteOnly));
        tsv.write("evdev_code\tevdev_name\tset1_scan_hex\textended\tkey\n1\tKEY_ESC\t0x01\t0\tEscape\n" + row);
        tsv.close();
        const QString script = qEnvironmentVariable("Q7_SOURCE_DIR") + "/input/data/generate-evdev-table.cmake";
        const QString out = dir.filePath("out.cpp");
        QProcess cmake;
        cmake.start(QStringLiteral(Q7_CMAKE_COMMAND),
                    {"-DINPUT=" + tsv.fileName(), "-DOUTPUT=" + out, "-P", script});
        QVERIFY(cmake.waitForFinished(30000));
        QVERIFY(cmake.exitCode() != 0);
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(TablesTest)
#include "tst_input_tables.moc"
