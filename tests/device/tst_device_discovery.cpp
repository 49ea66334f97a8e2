// The built-in device table, entry selection and the interface search.

#include "HidReport.h"
#include "LinkTestUtil.h"
#include "Slave.h"

#include <QTemporaryDir>
#include <QTest>

using namespace linktest;
using vmouse::Dir;

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void builtInTable();
    void tableFromFileWithMissingKeys();
    void selectionOverrides_data();
    void selectionOverrides();
    void selectionWithoutTheEntry();
    void bothInterfacesBindAndGreet();
    void onlyCommandInterface();
    void lastMouseSeenWins();
    void anyVendorWhenIdsAbsent();
    void deviceCodeSetsScrambling_data();
    void deviceCodeSetsScrambling();
    void linkDeviceEndToEnd();
    void rebindAfterUnplug();
};

void DiscoveryTest::init() { vmouse::reset(); }

static DevInfoEntry virtualEntry() {
    DevInfoEntry e;
    e.vid = 0x04d9;
    e.pid = 0xa1b7;
    e.usagePage = 0xff00;
    e.usage = 0xff00;
    e.usagePage2 = 0xff01;
    e.usage2 = 0x0001;
    e.productName = QStringLiteral("Q7");
    e.reportLength = 64;
    return e;
}

void DiscoveryTest::builtInTable() {
    const auto t = readDeviceTable({QStringLiteral("First")});
    QCOMPARE(t.size(), 2);
    QCOMPARE(t[0].vid, quint16(0x04d9));
    QCOMPARE(t[0].pid, quint16(0x8008));
    QCOMPARE(t[0].usagePage, quint16(0xff01));
    QCOMPARE(t[0].usage, quint16(0x0001));
    QCOMPARE(t[0].usagePage2, quint16(0xff02));
    QCOMPARE(t[0].usage2, quint16(0x0001));
    QCOMPARE(t[0].productName, QStringLiteral("First"));
    const DevInfoEntry &e = t[1];
    QCOMPARE(e.vid, quint16(0x04d9));
    QCOMPARE(e.pid, quint16(0xa1b7));
    QCOMPARE(e.usagePage, quint16(0xff00));
    QCOMPARE(e.usage, quint16(0xff00));
    QCOMPARE(e.usagePage2, quint16(0xff01));
    QCOMPARE(e.usage2, quint16(0x0001));
    QCOMPARE(e.reportLength, 64u);
    QCOMPARE(e.sCode, QString());
    // Fewer product names than entries: the rest have none.
    QCOMPARE(e.productName, QString());
}

void DiscoveryTest::tableFromFileWithMissingKeys() {
    QTemporaryDir dir;
    const QString path = dir.filePath("DevInfo.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[common]\ntotal=1\n[0]\nvid=1234\nsCode=abcdef\n");
    f.close();
    const auto t = readDeviceTable({}, path);
    QCOMPARE(t.size(), 1);
    QCOMPARE(t[0].vid, quint16(0x1234));
    QCOMPARE(t[0].pid, quint16(0));
    QCOMPARE(t[0].reportLength, 0u);
    QCOMPARE(t[0].sCode, QStringLiteral("abcdef"));
    QVERIFY(readDeviceTable({}, dir.filePath("missing.ini")).isEmpty());
}

void DiscoveryTest::selectionOverrides_data() {
    QTest::addColumn<QString>("vid");
    QTest::addColumn<QString>("pid");
    QTest::addColumn<QString>("sc");
    QTest::addColumn<int>("expVid");
    QTest::addColumn<int>("expPid");
    QTest::newRow("file ids") << "04d9" << "a1b7" << "" << 0x04d9 << 0xa1b7;
    QTest::newRow("other ids") << "1A2B" << "3c4d" << "abcdef" << 0x1a2b << 0x3c4d;
    QTest::newRow("absent: any device") << "" << "" << "" << 0 << 0;
    QTest::newRow("unreadable: any device") << "xyz" << "12345" << "" << 0 << 0;
}

void DiscoveryTest::selectionOverrides() {
    QFETCH(QString, vid);
    QFETCH(QString, pid);
    QFETCH(QString, sc);
    QFETCH(int, expVid);
    QFETCH(int, expPid);
    DevInfoEntry e;
    QVERIFY(selectEntry(readDeviceTable(), 1, vid, pid, sc, e));
    QCOMPARE(int(e.vid), expVid);
    QCOMPARE(int(e.pid), expPid);
    QCOMPARE(e.sCode, sc);
    QCOMPARE(e.usagePage, quint16(0xff00));
}

void DiscoveryTest::selectionWithoutTheEntry() {
    DevInfoEntry e;
    e.vid = 7;
    QVERIFY(!selectEntry({}, 1, "04d9", "a1b7", "", e));
    QVERIFY(!selectEntry(readDeviceTable(), 2, "", "", "", e));
    QCOMPARE(e.vid, quint16(7));
}

void DiscoveryTest::bothInterfacesBindAndGreet() {
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, virtualEntry()));
    dev.slave()->stopPolling();
    const UsbTask &t = dev.usbTask();
    QCOMPARE(t.entryIndex, 1);
    QCOMPARE(t.productName, QStringLiteral("Q7"));
    QCOMPARE(t.commandPath, QString::fromLatin1(vmouse::commandPath));
    QCOMPARE(t.vendorPath, QString::fromLatin1(vmouse::vendorPath));
    QCOMPARE(t.reportLength, 64);
    QVERIFY(!t.scramble);
    QCOMPARE(t.featureLength, 9);
    QCOMPARE(t.settleDelay, 30);
    QCOMPARE(t.writeGap, 10);
    const auto cmds = vmouse::commands();
    QCOMPARE(int(cmds.size()), 1);
    QCOMPARE(hex(cmds[0]), QByteArray("00 01 08 00 00 00 00 00 f6"));
    QCOMPARE(int(vmouse::state().functionOption), 0x08);
    // The enumeration asked for the entry's ids and its list was released.
    const auto en = traffic(Dir::Enumerate);
    QCOMPARE(int(en.size()), 1);
    QCOMPARE(hex(en[0].bytes), QByteArray("04 d9 a1 b7"));
}

void DiscoveryTest::onlyCommandInterface() {
    auto list = vmouse::interfaces();
    list.pop_back();
    vmouse::setInterfaces(list);
    MS_HT66FB560 dev;
    QVERIFY(!dev.findDevice(1, virtualEntry()));
    QVERIFY(dev.usbTask().commandPath.isEmpty());
    QVERIFY(dev.usbTask().vendorPath.isEmpty());
    QVERIFY(dev.slave()->wait(2000));
    // The greeting went nowhere.
    QCOMPARE(int(vmouse::commands().size()), 0);
}

void DiscoveryTest::lastMouseSeenWins() {
    auto list = vmouse::mouseInterfaces("mouse-a/0", "mouse-a/1");
    for (const auto &i : vmouse::mouseInterfaces("mouse-b/0", "mouse-b/1"))
        list.push_back(i);
    // Another device with other usages does not disturb the search.
    vmouse::Interface kbd;
    kbd.path = "keyboard/0";
    kbd.usagePage = 0x0001;
    kbd.usage = 0x0006;
    list.push_back(kbd);
    vmouse::setInterfaces(list);
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, virtualEntry()));
    dev.slave()->stopPolling();
    QCOMPARE(dev.usbTask().commandPath, QStringLiteral("mouse-b/0"));
    QCOMPARE(dev.usbTask().vendorPath, QStringLiteral("mouse-b/1"));
    QCOMPARE(int(trafficOn("mouse-b/0").size()) > 0, true);
    QCOMPARE(int(trafficOn("mouse-a/0").size()), 0);
}

void DiscoveryTest::anyVendorWhenIdsAbsent() {
    auto list = vmouse::interfaces();
    for (auto &i : list) {
        i.vid = 0x1111;
        i.pid = 0x2222;
    }
    vmouse::setInterfaces(list);
    DevInfoEntry e;
    QVERIFY(selectEntry(readDeviceTable(), 1, QString(), QString(), QString(), e));
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, e));
    dev.slave()->stopPolling();
    QCOMPARE(hex(traffic(Dir::Enumerate).at(0).bytes), QByteArray("00 00 00 00"));

    // With the table's ids the same mouse is not found.
    QVERIFY(selectEntry(readDeviceTable(), 1, "04d9", "a1b7", QString(), e));
    QVERIFY(!dev.findDevice(1, e));
}

void DiscoveryTest::deviceCodeSetsScrambling_data() {
    QTest::addColumn<QString>("sc");
    QTest::addColumn<bool>("scramble");
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("none") << "" << false << QByteArray("00 00 00 00 00 00 00 00");
    QTest::newRow("six") << "Ab3dE6" << true << QByteArray("00 41 62 33 64 45 36 00");
    QTest::newRow("five: on, no code bytes") << "Ab3dE" << true
                                             << QByteArray("00 00 00 00 00 00 00 00");
}

void DiscoveryTest::deviceCodeSetsScrambling() {
    QFETCH(QString, sc);
    QFETCH(bool, scramble);
    QFETCH(QByteArray, code);
    vmouse::setDeviceCode(sc.toStdString());
    DevInfoEntry e = virtualEntry();
    e.sCode = sc;
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, e));
    dev.slave()->stopPolling();
    QCOMPARE(dev.usbTask().scramble, scramble);
    QCOMPARE(hex(dev.usbTask().code), code);
    QVERIFY(!dev.master()->debugMode());
    // The greeting arrived (scrambled when asked) and was understood.
    QCOMPARE(int(vmouse::commands().size()), 1);
    QCOMPARE(vmouse::undecodable(), 0);
}

void DiscoveryTest::linkDeviceEndToEnd() {
    MS_HT66FB560 dev;
    QVERIFY(linkDevice(dev, {QStringLiteral("Old"), QStringLiteral("Q7")}, "04d9", "a1b7", ""));
    dev.slave()->stopPolling();
    QCOMPARE(dev.usbTask().productName, QStringLiteral("Q7"));
    QCOMPARE(dev.usbTask().entryIndex, 1);
    vmouse::Faults f;
    f.absent = true;
    vmouse::setFaults(f);
    QVERIFY(!linkDevice(dev, {}, "04d9", "a1b7", ""));
    QVERIFY(dev.usbTask().commandPath.isEmpty());
}

// After an unplug the old paths are gone; the next check binds to nothing, and after the
// mouse returns to the same paths it is found again.
void DiscoveryTest::rebindAfterUnplug() {
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, virtualEntry()));
    vmouse::Faults f;
    f.absent = true;
    vmouse::setFaults(f);
    QVERIFY(!dev.findDevice(1, virtualEntry()));
    QVERIFY(dev.usbTask().commandPath.isEmpty());
    vmouse::setFaults({});
    QVERIFY(dev.findDevice(1, virtualEntry()));
    dev.slave()->stopPolling();
    QCOMPARE(int(vmouse::commands().size()), 2);  // two greetings reached the mouse
}

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_device_discovery.moc"
