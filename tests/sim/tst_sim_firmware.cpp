// The virtual mouse on its own, through hidapi's C functions: factory contents, what it
// refuses, handle bookkeeping and the state file.

#include "VirtualMouse.h"

#include <hidapi.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <thread>

using vmouse::Bytes;
using vmouse::Dir;

class FirmwareTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void factoryContents();
    void enumerationFilters();
    void refusedReports_data();
    void refusedReports();
    void strayOutputIsIgnored();
    void handleMisuseIsCounted();
    void blockingVendorReadWakesOnUnplug();
    void stateFileRoundTrip();
    void stateFileFollowsEveryChange();
    void handEditedStateFile();
};

namespace {

Bytes command(std::uint8_t cmd, std::uint8_t a = 0, std::uint8_t b = 0) {
    Bytes r(9, 0);
    r[1] = cmd;
    r[2] = a;
    r[3] = b;
    std::uint8_t sum = 0;
    for (int i = 1; i < 8; ++i)
        sum = std::uint8_t(sum + r[size_t(i)]);
    r[8] = std::uint8_t(~sum);
    return r;
}

struct Handle {
    hid_device *d;
    explicit Handle(const char *path) : d(hid_open_path(path)) {}
    ~Handle() {
        if (d)
            hid_close(d);
    }
};

}  // namespace

void FirmwareTest::init() { vmouse::reset(); }

// The defaults file is generated from the same table; these are the values other parts of
// the program depend on.
void FirmwareTest::factoryContents() {
    const auto s = vmouse::factoryState();
    for (int p = 0; p < 6; ++p) {
        const auto &b = s.profiles[size_t(p)];
        QCOMPARE(int(b[70]), 8);
        const int dpi[8] = {8, 16, 32, 64, 96, 128, 160, 200};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(int(b[size_t(84 + i)]), dpi[i]);
            QCOMPARE(int(b[size_t(92 + i)]), dpi[i]);
        }
        QCOMPARE(int(b[23]), 8);  // palette entry 7 is stored as 8
        QCOMPARE(int(b[104]), 255);
        QCOMPARE(int(s.reportRate[size_t(p)]), 1);
        QCOMPARE(int(s.dpiStage[size_t(p)]), 2);
        const auto &m = s.matrices[size_t(p)];
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.data()), 8).toHex(' '),
                 QByteArray("01 00 f0 00 01 00 f1 00"));
        QCOMPARE(int(m[9 * 4 + 2]), 0x8A);  // key 9: mail, 03 00 8A 01
        QCOMPARE(int(m[9 * 4 + 3]), 0x01);
        QCOMPARE(int(m[15 * 4 + 2]), 0x02);
        QVERIFY(std::all_of(m.begin() + 64, m.end(), [](auto v) { return v == 0; }));
    }
    QVERIFY(std::all_of(s.macros.begin(), s.macros.end(), [](const auto &blk) {
        return std::all_of(blk.begin(), blk.end(), [](auto v) { return v == 0; });
    }));
}

void FirmwareTest::enumerationFilters() {
    auto count = [](unsigned short vid, unsigned short pid) {
        int n = 0;
        hid_device_info *list = hid_enumerate(vid, pid);
        for (auto *d = list; d; d = d->next)
            ++n;
        hid_free_enumeration(list);
        return n;
    };
    QCOMPARE(count(0, 0), 2);
    QCOMPARE(count(0x04d9, 0xa1b7), 2);
    QCOMPARE(count(0x04d9, 0), 2);
    QCOMPARE(count(0x04d9, 0x8008), 0);
    hid_device_info *list = hid_enumerate(0, 0);
    QCOMPARE(QByteArray(list->path), QByteArray(vmouse::commandPath));
    QCOMPARE(list->usage_page, 0xff00);
    QCOMPARE(list->next->usage_page, 0xff01);
    QCOMPARE(list->next->usage, 0x0001);
    hid_free_enumeration(list);
}

void FirmwareTest::refusedReports_data() {
    QTest::addColumn<QByteArray>("report");
    auto raw = [](const Bytes &b) {
        return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size()));
    };
    Bytes bad = command(0x02, 3);
    bad[8] ^= 0x01;
    QTest::newRow("bad checksum") << raw(bad);
    Bytes id = command(0x02, 3);
    id[0] = 0x01;
    QTest::newRow("report ID 1") << raw(id);
    QTest::newRow("short") << raw(command(0x02, 3)).left(8);
    QTest::newRow("profile 6") << raw(command(0x02, 6));
    QTest::newRow("rate for profile 9") << raw(command(0x03, 9, 2));
    QTest::newRow("macro slot 0") << raw(command(0x0F, 0, 0x80));
    QTest::newRow("macro slot 101") << raw(command(0x8F, 101, 0x80));
    QTest::newRow("block length 0x40") << raw(command(0x0C, 1, 0x40));
    QTest::newRow("unknown command") << raw(command(0x05, 1));
    Bytes stop = command(0x08, 0xAA, 0xCC);  // byte 4 missing its 0xEE
    QTest::newRow("stop without marker") << raw(stop);
}

void FirmwareTest::refusedReports() {
    QFETCH(QByteArray, report);
    Handle h(vmouse::commandPath);
    QVERIFY(h.d);
    const auto before = vmouse::state();
    // The transport takes it; the firmware ignores it.
    QCOMPARE(hid_send_feature_report(h.d, reinterpret_cast<const unsigned char *>(report.constData()),
                                     size_t(report.size())),
             int(report.size()));
    QCOMPARE(vmouse::undecodable(), 1);
    QVERIFY(vmouse::commands().empty());
    const auto after = vmouse::state();
    QCOMPARE(after.currentProfile, before.currentProfile);
    QCOMPARE(after.reportRate, before.reportRate);
    QCOMPARE(after.macros, before.macros);
    // Nothing to read afterwards either.
    unsigned char buf[65];
    QCOMPARE(hid_read_timeout(h.d, buf, sizeof buf, 0), 0);
}

void FirmwareTest::strayOutputIsIgnored() {
    Handle h(vmouse::commandPath);
    unsigned char report[65] = {};
    std::memset(report + 1, 0x5A, 64);
    QCOMPARE(hid_write(h.d, report, sizeof report), 65);
    QCOMPARE(vmouse::undecodable(), 1);
    // A block set interrupted by another command loses its partial block.
    const Bytes set = command(0x0C, 1, 0x80);
    QCOMPARE(hid_send_feature_report(h.d, set.data(), 9), 9);
    QCOMPARE(hid_write(h.d, report, sizeof report), 65);
    const Bytes other = command(0x02, 1);
    QCOMPARE(hid_send_feature_report(h.d, other.data(), 9), 9);
    QCOMPARE(hid_write(h.d, report, sizeof report), 65);
    QCOMPARE(vmouse::state().profiles[1], vmouse::factoryState().profiles[1]);
    QCOMPARE(vmouse::undecodable(), 2);
}

void FirmwareTest::handleMisuseIsCounted() {
    hid_device *d = hid_open_path(vmouse::commandPath);
    QVERIFY(d);
    QCOMPARE(vmouse::openHandles(), 1);
    hid_close(d);
    QCOMPARE(vmouse::openHandles(), 0);
    hid_close(d);  // closed twice: counted, not freed again
    QCOMPARE(vmouse::badHandleCalls(), 1);
    QVERIFY(!hid_open_path("no/such/path"));
    QVERIFY(!hid_open_path(nullptr));
}

void FirmwareTest::blockingVendorReadWakesOnUnplug() {
    Handle h(vmouse::vendorPath);
    QVERIFY(h.d);
    vmouse::queueVendorReport({1, 2, 3, 4});
    unsigned char buf[5] = {};
    QCOMPARE(hid_read(h.d, buf, 4), 4);
    QCOMPARE(int(buf[3]), 4);
    std::thread unplug([] {
        vmouse::Faults f;
        f.absent = true;
        vmouse::setFaults(f);
    });
    // A blocking read with nothing queued returns once the mouse is gone.
    const int r = hid_read(h.d, buf, 4);
    unplug.join();
    QCOMPARE(r, -1);
}

void FirmwareTest::stateFileRoundTrip() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vm.txt").toStdString();
    auto s = vmouse::factoryState();
    s.currentProfile = 5;
    s.reportRate = {1, 2, 4, 8, 1, 2};
    s.profiles[3][127] = 0xAB;
    s.matrices[0][0] = 0x09;
    s.macros[41][5] = 0x77;
    s.deviceCode = "Ab3dE6";
    QVERIFY(vmouse::saveStateFile(path, s));
    vmouse::State back;
    QVERIFY(vmouse::loadStateFile(path, back));
    QCOMPARE(back.currentProfile, s.currentProfile);
    QCOMPARE(back.reportRate, s.reportRate);
    QCOMPARE(back.profiles, s.profiles);
    QCOMPARE(back.matrices, s.matrices);
    QCOMPARE(back.macros, s.macros);
    QCOMPARE(back.deviceCode, s.deviceCode);
    QCOMPARE(back.fwMinor, s.fwMinor);
    QVERIFY(!vmouse::loadStateFile(dir.filePath("missing.txt").toStdString(), back));
}

void FirmwareTest::stateFileFollowsEveryChange() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("sub/vm.txt").toStdString();
    vmouse::setStateFile(path);  // absent: written with the current state
    QVERIFY(QFile::exists(QString::fromStdString(path)));
    {
        Handle h(vmouse::commandPath);
        const Bytes c = command(0x04, 2, 6);
        QCOMPARE(hid_send_feature_report(h.d, c.data(), 9), 9);
        const Bytes set = command(0x0F, 42, 0x80);
        QCOMPARE(hid_send_feature_report(h.d, set.data(), 9), 9);
        unsigned char report[65] = {};
        for (int i = 0; i < 2; ++i) {
            std::memset(report + 1, 0x30 + i, 64);
            QCOMPARE(hid_write(h.d, report, sizeof report), 65);
        }
    }
    vmouse::State onDisk;
    QVERIFY(vmouse::loadStateFile(path, onDisk));
    QCOMPARE(int(onDisk.dpiStage[2]), 6);
    QCOMPARE(int(onDisk.macros[41][0]), 0x30);
    QCOMPARE(int(onDisk.macros[41][127]), 0x31);
    vmouse::setStateFile("");
}

void FirmwareTest::handEditedStateFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("vm.txt");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# edited by hand\r\ncurrent_profile=3\r\nfirmware=02 1b\r\n"
            "[matrix 2]\r\n" + QByteArray("aa ").repeated(10) + "\r\n[macro 7]\r\n01 02\r\n");
    f.close();
    vmouse::setStateFile(path.toStdString());
    const auto s = vmouse::state();
    vmouse::setStateFile("");
    QCOMPARE(int(s.currentProfile), 3);
    QCOMPARE(int(s.fwMajor), 2);
    QCOMPARE(int(s.fwMinor), 0x1b);
    QCOMPARE(int(s.matrices[2][9]), 0xAA);
    QCOMPARE(int(s.matrices[2][10]), 0xF2);  // the rest keeps its factory value
    QCOMPARE(int(s.macros[6][1]), 2);
    QCOMPARE(s.profiles, vmouse::factoryState().profiles);
}

QTEST_GUILESS_MAIN(FirmwareTest)
#include "tst_sim_firmware.moc"
