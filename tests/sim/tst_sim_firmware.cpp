// The virtual mouse on its own, through hidapi's C functions: factory contents, what it
// refuses, handle bookkeeping and the state file.

#include "TestFiles.h"
#include "VirtualMouse.h"

#include <hidapi.h>

#include <QTemporaryDir>
#include <QTest>

using vmouse::Bytes;

// A command report with a correct checksum; `tail` goes to byte 4, which must be zero.
static Bytes command(std::uint8_t cmd, std::uint8_t a = 0, std::uint8_t b = 0,
                     std::uint8_t tail = 0) {
    return {0, cmd, a, b, tail, 0, 0, 0, std::uint8_t(~(cmd + a + b + tail))};
}

static QByteArray raw(const Bytes &b) {
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size()));
}

static QByteArray hexAt(const vmouse::Block &b, int from, int n) {
    return raw(Bytes(b.begin() + from, b.begin() + from + n)).toHex(' ');
}

class FirmwareTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { vmouse::reset(); }

    // The shipped defaults are generated from the same table; these are the values the rest
    // of the program relies on.
    void factoryContents() {
        const auto s = vmouse::factoryState();
        for (size_t p = 0; p < 6; ++p) {
            const auto &b = s.profiles[p];
            // Byte 23: palette entry 7 is stored as 8.
            QCOMPARE((QList<int>{b[70], b[23], s.reportRate[p], s.dpiStage[p]}),
                     (QList<int>{8, 8, 1, 2}));
            QCOMPARE(hexAt(b, 84, 16),
                     QByteArray("08 10 20 40 60 80 a0 c8 08 10 20 40 60 80 a0 c8"));
            const auto &m = s.matrices[p];
            QCOMPARE(hexAt(m, 0, 8), QByteArray("01 00 f0 00 01 00 f1 00"));
            QCOMPARE(hexAt(m, 36, 4), QByteArray("03 00 8a 01"));
            QVERIFY(std::all_of(m.begin() + 64, m.end(), [](auto v) { return v == 0; }));
        }
    }

    void refusedReports_data() {
        QTest::addColumn<QByteArray>("report");
        QTest::newRow("bad checksum") << raw(command(0x02, 3)).replace(8, 1, "\xfb");
        QTest::newRow("report ID 1") << raw(command(0x02, 3)).replace(0, 1, "\x01");
        QTest::newRow("short") << raw(command(0x02, 3)).left(8);
        QTest::newRow("profile 6") << raw(command(0x02, 6));
        QTest::newRow("macro slot 0") << raw(command(0x0F, 0, 0x80));
        QTest::newRow("macro slot 101") << raw(command(0x8F, 101, 0x80));
        QTest::newRow("block length 0x40") << raw(command(0x0C, 1, 0x40));
        QTest::newRow("unknown command") << raw(command(0x05, 1));
        QTest::newRow("stop without its marker") << raw(command(0x08, 0xAA, 0xCC));
        // Bytes 4-7 must be zero: such a command changes nothing, and a block announced
        // that way takes no data reports.
        QTest::newRow("profile switch with a tail") << raw(command(0x02, 3, 0, 1));
        QTest::newRow("block set with a tail") << raw(command(0x0C, 1, 0x80, 1));
    }

    void refusedReports() {
        QFETCH(QByteArray, report);
        hid_device *d = hid_open_path(vmouse::commandPath);
        QVERIFY(d);
        // The transport takes it; the firmware records and ignores it, as a real one would.
        QCOMPARE(
            hid_send_feature_report(d, reinterpret_cast<const unsigned char *>(report.constData()),
                                    size_t(report.size())),
            int(report.size()));
        QCOMPARE(vmouse::undecodable(), 1);
        QVERIFY(vmouse::commands().empty());
        unsigned char buf[65] = {};
        QCOMPARE(hid_read_timeout(d, buf, sizeof buf, 0), 0); // nothing to read either
        // A stray data report is ignored the same way.
        buf[1] = 0x5A;
        QCOMPARE(hid_write(d, buf, sizeof buf), 65);
        QCOMPARE(vmouse::undecodable(), 2);
        hid_close(d);
        QCOMPARE(vmouse::state().currentProfile, vmouse::factoryState().currentProfile);
        QCOMPARE(vmouse::state().profiles, vmouse::factoryState().profiles);
        QCOMPARE(vmouse::state().macros, vmouse::factoryState().macros);
    }

    void handleMisuseIsCounted() {
        hid_device *d = hid_open_path(vmouse::commandPath);
        QCOMPARE(vmouse::openHandles(), 1);
        hid_close(d);
        hid_close(d); // counted, not freed twice
        QCOMPARE(vmouse::openHandles(), 0);
        QCOMPARE(vmouse::badHandleCalls(), 1);
        QVERIFY(!hid_open_path("no/such/path"));
    }

    // A state file edited by hand reads with whatever line ends the editor used, and settles
    // after one save.
    void handEditedStateFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("vm.txt");
        const QByteArray matrix = "[matrix 2]\r\n" + QByteArray("aa ").repeated(10) + "\r\n";
        QVERIFY(writeFile(path, "# edited by hand\r\ncurrent_profile=3\r\nfirmware=02 1b\r\n" +
                                    matrix + "[macro 7]\r\n01 02\r\n"));
        vmouse::setStateFile(path.toStdString());
        const auto s = vmouse::state();
        vmouse::setStateFile("");
        // The matrix's byte 10 on keeps its factory value.
        QCOMPARE((QList<int>{s.currentProfile, s.fwMinor, s.matrices[2][9], s.matrices[2][10],
                             s.macros[6][1]}),
                 (QList<int>{3, 0x1b, 0xAA, 0xF2, 2}));
        QCOMPARE(s.profiles, vmouse::factoryState().profiles);

        const QString edited = dir.filePath("crcrlf.txt"), saved = dir.filePath("saved.txt");
        QVERIFY(writeFile(edited, "device_code=a\r\r\ncurrent_profile=3\r\r\n"));
        vmouse::State first, second;
        QVERIFY(vmouse::loadStateFile(edited.toStdString(), first));
        QCOMPARE(first.deviceCode, std::string("a"));
        QCOMPARE(int(first.currentProfile), 3);
        QVERIFY(vmouse::saveStateFile(saved.toStdString(), first));
        QVERIFY(vmouse::loadStateFile(saved.toStdString(), second));
        QCOMPARE(second.deviceCode, first.deviceCode);
    }

    // The fault list a user hands the preloaded mouse: every item it names applies, and
    // anything else is skipped with a note instead of taking the good items with it.
    void faultListFromTheEnvironment() {
        const auto numbers = [](const vmouse::Faults &f) {
            return QList<int>{f.unplugAtCall, f.answerLength, f.inputReportLength, f.slowMs};
        };
        std::vector<std::string> problems;
        auto f = vmouse::parseFaults(" silent, unplug-at=40,short-answer=5 ,fail-write,slow=200ms,"
                                     "short-report=10,wrong-answer,fail-send,fail-answer,absent",
                                     problems);
        QVERIFY(problems.empty());
        QVERIFY(f.silent && f.failWrite && f.wrongAnswer && f.failFeatureSend && f.failAnswer &&
                f.absent);
        QCOMPARE(numbers(f), (QList<int>{40, 5, 10, 200}));
        QCOMPARE(vmouse::parseFaults("slow=2s", problems).slowMs, 2000);
        QCOMPARE(vmouse::parseFaults("slow=15", problems).slowMs, 15);
        QVERIFY(problems.empty());

        const char *const bad[] = {"unplug-at=0", "unplug-at=-3", "unplug-at=", "short-answer=9",
                                   "short-report=64", "slow=fast", "slow=99999999999ms",
                                   "slow=61s", "silent=1", "=", "unplug-at=4x", "nonsense",
                                   "unplug-at=12345678901234567890"};
        for (const char *item : bad) {
            problems.clear();
            f = vmouse::parseFaults(std::string(item) + ",fail-write,,", problems);
            QCOMPARE(int(problems.size()), 1);
            QVERIFY2(problems[0].find(item) != std::string::npos, item);
            QVERIFY(f.failWrite && !f.silent);
            QCOMPARE(numbers(f), (QList<int>{0, 9, 64, 0}));
        }
    }
};

QTEST_GUILESS_MAIN(FirmwareTest)
#include "tst_sim_firmware.moc"
