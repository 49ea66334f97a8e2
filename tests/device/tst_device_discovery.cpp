// The built-in device table, entry selection and the interface search.

#include "LinkTestUtil.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

class DiscoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { vmouse::reset(); }

    // Fewer product names than table entries: the rest have none.
    void productNamesGoToTheEntriesInOrder() {
        const auto t = readDeviceTable({QStringLiteral("First")});
        QCOMPARE(t.size(), 2);
        QCOMPARE(t[0].productName + "|" + t[1].productName, QStringLiteral("First|"));
    }

    // The vendor and product ids as the profile settings file gives them, and the ids the
    // selected entry then asks for (none: nothing selected).
    void selection_data() {
        QTest::addColumn<QString>("ids");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("selected");
        QTest::newRow("ids from the file") << "04d9 a1b7" << 1 << "04d9 a1b7";
        QTest::newRow("other ids") << "1A2B 3c4d" << 1 << "1a2b 3c4d";
        // Never 0/0, which would match any device: each id the file lacks is the table's.
        QTest::newRow("absent: the table's") << " " << 1 << "04d9 a1b7";
        QTest::newRow("unreadable or zero: the table's") << "xyz 0" << 1 << "04d9 a1b7";
        QTest::newRow("one of them") << "1a2b 12345" << 1 << "1a2b a1b7";
        // A table without the entry binds nothing instead of reading past the list.
        QTest::newRow("no such entry") << "04d9 a1b7" << 2 << "";
    }
    void selection() {
        QFETCH(QString, ids);
        QFETCH(int, index);
        QFETCH(QString, selected);
        const QStringList vp = ids.split(' ');
        DevInfoEntry e;
        QCOMPARE(selectEntry(readDeviceTable(), index, vp[0], vp[1], "abcdef", e),
                 !selected.isEmpty());
        if (!selected.isEmpty()) {
            QCOMPARE(QString::asprintf("%04x %04x", e.vid, e.pid), selected);
            QCOMPARE(e.sCode, QStringLiteral("abcdef"));
            QCOMPARE(e.usagePage, quint16(0xff00));
        }
    }

    void bothInterfacesBindAndGreet() {
        MS_HT66FB560 dev;
        QVERIFY(linkDevice(dev, {QStringLiteral("Old"), QStringLiteral("Q7")}, "04d9", "a1b7", ""));
        QTRY_VERIFY(!traffic(Dir::Open, vmouse::vendorPath).empty()); // polling runs
        dev.slave()->stopPolling();
        const UsbTask &t = dev.usbTask();
        QCOMPARE((QStringList{QString::number(t.entryIndex), t.productName, t.commandPath,
                              t.vendorPath, QString::number(t.reportLength)}),
                 (QStringList{"1", "Q7", vmouse::commandPath, vmouse::vendorPath, "64"}));
        QCOMPARE(hex(traffic(Dir::Enumerate).at(0).bytes), QByteArray("04 d9 a1 b7"));
        const auto cmds = vmouse::commands();
        QCOMPARE(int(cmds.size()), 1);
        QCOMPARE(hex(cmds[0]), QByteArray("00 01 08 00 00 00 00 00 f6"));
        QCOMPARE(int(vmouse::state().functionOption), 0x08);
    }

    void onlyCommandInterface() {
        auto list = vmouse::interfaces();
        list.pop_back();
        vmouse::setInterfaces(list);
        MS_HT66FB560 dev;
        QVERIFY(!dev.findDevice(1, virtualEntry()));
        QVERIFY(dev.usbTask().commandPath.isEmpty());
        QVERIFY(dev.usbTask().vendorPath.isEmpty());
        QVERIFY(dev.slave()->wait(QDeadlineTimer(5000)));
        QVERIFY(vmouse::commands().empty()); // the greeting went nowhere
    }

    void lastMouseSeenWins() {
        auto list = vmouse::mouseInterfaces("mouse-a/0", "mouse-a/1");
        list.push_back({"keyboard/0", 0x04d9, 0xa1b7, 0x0001, 0x0006}); // same ids, no mouse
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

    // A profile file without ids must not make another vendor's device with the same usage
    // pairs the one that is greeted and sent blocks.
    void absentIdsNeverReachAnotherDevice() {
        auto list = vmouse::interfaces();
        for (auto &i : list)
            i.pid = 0x2222;
        vmouse::setInterfaces(list);
        MS_HT66FB560 dev;
        QVERIFY(!linkDevice(dev, {}, "", "", ""));
        QVERIFY(!traffic(Dir::Enumerate).empty());
        for (const auto &e : traffic(Dir::Enumerate))
            QCOMPARE(hex(e.bytes), QByteArray("04 d9 a1 b7"));
        QVERIFY(vmouse::commands().empty());
    }

    void deviceCodeSetsScrambling_data() {
        QTest::addColumn<QString>("sc");
        QTest::addColumn<bool>("scramble");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("none") << "" << false << QByteArray("00 00 00 00 00 00 00 00");
        QTest::newRow("six") << "Ab3dE6" << true << QByteArray("00 41 62 33 64 45 36 00");
        // Scrambling on, but no code bytes from a code of another length.
        QTest::newRow("five") << "Ab3dE" << true << QByteArray("00 00 00 00 00 00 00 00");
    }

    void deviceCodeSetsScrambling() {
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
        QCOMPARE(int(vmouse::commands().size()), 1); // the greeting was understood
    }
};

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_device_discovery.moc"
