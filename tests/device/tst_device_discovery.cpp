// The built-in device table, entry selection and the interface search.

#include "LinkTestUtil.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { vmouse::reset(); }
    void builtInTable();
    void selection_data();
    void selection();
    void bothInterfacesBindAndGreet();
    void onlyCommandInterface();
    void lastMouseSeenWins();
    void anyDeviceWhenIdsAbsent();
    void deviceCodeSetsScrambling_data();
    void deviceCodeSetsScrambling();
};

void DiscoveryTest::builtInTable() {
    const auto t = readDeviceTable({QStringLiteral("First")});
    QCOMPARE(t.size(), 2);
    auto fields = [](const DevInfoEntry &e) {
        return QString::asprintf("%04x %04x %04x %04x %04x %04x %u ", e.vid, e.pid, e.usagePage,
                                 e.usage, e.usagePage2, e.usage2, e.reportLength)
               + e.productName + "|" + e.sCode;
    };
    QCOMPARE(fields(t[0]), QStringLiteral("04d9 8008 ff01 0001 ff02 0001 64 First|"));
    // Fewer product names than entries: the rest have none.
    QCOMPARE(fields(t[1]), QStringLiteral("04d9 a1b7 ff00 ff00 ff01 0001 64 |"));
}

void DiscoveryTest::selection_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("vid");
    QTest::addColumn<QString>("pid");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("expVid");
    QTest::addColumn<int>("expPid");
    QTest::newRow("ids from the file") << 1 << "04d9" << "a1b7" << true << 0x04d9 << 0xa1b7;
    QTest::newRow("other ids") << 1 << "1A2B" << "3c4d" << true << 0x1a2b << 0x3c4d;
    QTest::newRow("absent: any device") << 1 << "" << "" << true << 0 << 0;
    QTest::newRow("unreadable: any device") << 1 << "xyz" << "12345" << true << 0 << 0;
    // A table without the entry binds nothing instead of reading past the list.
    QTest::newRow("no such entry") << 2 << "04d9" << "a1b7" << false << 0 << 0;
}

void DiscoveryTest::selection() {
    QFETCH(int, index);
    QFETCH(QString, vid);
    QFETCH(QString, pid);
    QFETCH(bool, found);
    QFETCH(int, expVid);
    QFETCH(int, expPid);
    DevInfoEntry e;
    QCOMPARE(selectEntry(readDeviceTable(), index, vid, pid, QStringLiteral("abcdef"), e), found);
    if (found) {
        QCOMPARE(int(e.vid), expVid);
        QCOMPARE(int(e.pid), expPid);
        QCOMPARE(e.sCode, QStringLiteral("abcdef"));
        QCOMPARE(e.usagePage, quint16(0xff00));
    }
}

void DiscoveryTest::bothInterfacesBindAndGreet() {
    MS_HT66FB560 dev;
    QVERIFY(linkDevice(dev, {QStringLiteral("Old"), QStringLiteral("Q7")}, "04d9", "a1b7", ""));
    QTRY_VERIFY(!traffic(Dir::Open, vmouse::vendorPath).empty());  // polling runs
    dev.slave()->stopPolling();
    const UsbTask &t = dev.usbTask();
    QCOMPARE(t.entryIndex, 1);
    QCOMPARE(t.productName, QStringLiteral("Q7"));
    QCOMPARE(t.commandPath, QString::fromLatin1(vmouse::commandPath));
    QCOMPARE(t.vendorPath, QString::fromLatin1(vmouse::vendorPath));
    QCOMPARE(t.reportLength, 64);
    QVERIFY(!t.scramble);
    QCOMPARE(hex(traffic(Dir::Enumerate).at(0).bytes), QByteArray("04 d9 a1 b7"));
    const auto cmds = vmouse::commands();
    QCOMPARE(int(cmds.size()), 1);
    QCOMPARE(hex(cmds[0]), QByteArray("00 01 08 00 00 00 00 00 f6"));
    QCOMPARE(int(vmouse::state().functionOption), 0x08);
}

void DiscoveryTest::onlyCommandInterface() {
    auto list = vmouse::interfaces();
    list.pop_back();
    vmouse::setInterfaces(list);
    MS_HT66FB560 dev;
    QVERIFY(!dev.findDevice(1, virtualEntry()));
    QVERIFY(dev.usbTask().commandPath.isEmpty());
    QVERIFY(dev.usbTask().vendorPath.isEmpty());
    QVERIFY(dev.slave()->wait(QDeadlineTimer(5000)));
    QVERIFY(vmouse::commands().empty());  // the greeting went nowhere
}

void DiscoveryTest::lastMouseSeenWins() {
    auto list = vmouse::mouseInterfaces("mouse-a/0", "mouse-a/1");
    vmouse::Interface keyboard;
    keyboard.path = "keyboard/0";
    keyboard.usagePage = 0x0001;
    keyboard.usage = 0x0006;
    list.push_back(keyboard);
    for (const auto &i : vmouse::mouseInterfaces("mouse-b/0", "mouse-b/1"))
        list.push_back(i);
    vmouse::setInterfaces(list);
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, virtualEntry()));
    dev.slave()->stopPolling();
    QCOMPARE(dev.usbTask().commandPath, QStringLiteral("mouse-b/0"));
    QCOMPARE(dev.usbTask().vendorPath, QStringLiteral("mouse-b/1"));
    QVERIFY(traffic(Dir::Open, "mouse-a/0").empty());
}

void DiscoveryTest::anyDeviceWhenIdsAbsent() {
    auto list = vmouse::interfaces();
    for (auto &i : list)
        i.pid = 0x2222;
    vmouse::setInterfaces(list);
    MS_HT66FB560 dev;
    QVERIFY(!linkDevice(dev, {}, "04d9", "a1b7", ""));
    QVERIFY(linkDevice(dev, {}, "", "", ""));
    dev.slave()->stopPolling();
    QCOMPARE(hex(traffic(Dir::Enumerate).back().bytes), QByteArray("00 00 00 00"));
}

void DiscoveryTest::deviceCodeSetsScrambling_data() {
    QTest::addColumn<QString>("sc");
    QTest::addColumn<bool>("scramble");
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("none") << "" << false << QByteArray("00 00 00 00 00 00 00 00");
    QTest::newRow("six") << "Ab3dE6" << true << QByteArray("00 41 62 33 64 45 36 00");
    // Scrambling on, but no code bytes from a code of another length.
    QTest::newRow("five") << "Ab3dE" << true << QByteArray("00 00 00 00 00 00 00 00");
}

void DiscoveryTest::deviceCodeSetsScrambling() {
    QFETCH(QString, sc);
    QFETCH(bool, scramble);
    QFETCH(QByteArray, code);
    vmouse::setDeviceCode(sc.toStdString());
    MS_HT66FB560 dev;
    QVERIFY(dev.findDevice(1, virtualEntry(sc)));
    dev.slave()->stopPolling();
    QCOMPARE(dev.usbTask().scramble, scramble);
    QCOMPARE(hex(dev.usbTask().code), code);
    QVERIFY(!dev.master()->debugMode());
    QCOMPARE(int(vmouse::commands().size()), 1);  // the greeting was understood
}

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_device_discovery.moc"
