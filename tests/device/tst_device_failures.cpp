// Failure paths of an exchange: each reports failure, leaves the caller's values alone,
// releases the device and stays within the read bound.

#include "LinkTestUtil.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

class FailuresTest : public QObject {
    Q_OBJECT
    MS_HT66FB560 dev; // bound afresh for every case

private Q_SLOTS:
    void init() {
        vmouse::reset();
        bindQuietly(dev);
    }
    void cleanup() { QCOMPARE(vmouse::openHandles(), 0); }

    void getFailures_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("featuresSent");
        QTest::newRow("absent") << "absent" << 0;
        QTest::newRow("feature send fails") << "fail-send" << 1;
        QTest::newRow("answer fails") << "fail-answer" << 1;
        QTest::newRow("answer too short for its values") << "short-answer=2" << 1;
        // Open succeeds, then the feature report finds the mouse gone.
        QTest::newRow("unplugged after open") << "unplug-at=2" << 1;
    }

    void getFailures() {
        QFETCH(QString, faults);
        QFETCH(int, featuresSent);
        injectFaults(faults);

        uchar v = 0x77;
        QVERIFY(!dev.hid_83H_GetReportRate(v, 1));
        QCOMPARE(int(traffic(Dir::FeatureOut).size()), featuresSent);
        QVERIFY(!dev.hid_81H_GetFunctionOption(v));
        QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
        QVERIFY(!dev.hid_84H_GetDPIStage(v, 0));
        QVERIFY(!dev.hid_89H_GetRGBLedTwinkle(v));
        QCOMPARE(int(v), 0x77);
        QString version = QStringLiteral("untouched");
        QVERIFY(!dev.hid_80H_GetFWVersion(version));
        QCOMPARE(version, QStringLiteral("unknown"));
        auto block = pattern(1);
        QVERIFY(!dev.hid_8CH_GetFwProfile(0, block.data()));
        QCOMPARE(block, pattern(1));
        QCOMPARE(int(traffic(Dir::Input).size()), 0); // no data phase after a failed answer
    }

    void blockGetFailures_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("reads");
        QTest::addColumn<bool>("lost");
        // A time-out is not waited out twice.
        QTest::newRow("silent: reads time out") << "silent" << 1 << true;
        QTest::newRow("short data reports") << "short-report=10" << 2 << false;
        // Open, feature, answer and the first read succeed; the second read fails.
        QTest::newRow("unplugged between reports") << "unplug-at=5" << 2 << true;
    }

    void blockGetFailures() {
        QFETCH(QString, faults);
        QFETCH(int, reads);
        QFETCH(bool, lost);
        injectFaults(faults);
        auto block = pattern(200);
        QVERIFY(!dev.hid_8DH_GetKeyMatrix(2, block.data()));
        const auto seen = traffic(Dir::Input);
        QCOMPARE(int(seen.size()), reads);
        for (const auto &e : seen)
            QVERIFY(e.timeoutMs > 0 && e.timeoutMs <= Master::readTimeoutMs);
        QCOMPARE(dev.linkLost(), lost);
    }

    // Once an exchange finds the mouse gone, every other one fails at once without touching
    // it, get or set alike, even when the mouse is back; the next binding talks to it again.
    // An answer too short for its values is a failed exchange, not a lost mouse.
    void lostLinkUntilTheNextBinding() {
        injectFaults("short-answer=2");
        uchar v = 0;
        QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
        QVERIFY(!dev.linkLost());
        injectFaults("fail-send");
        dev.hid_02H_SetCurrentProfile(3);
        QVERIFY(dev.linkLost());

        vmouse::setFaults({});
        vmouse::clearLog();
        QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
        auto block = pattern(9);
        QVERIFY(!dev.hid_8CH_GetFwProfile(1, block.data()));
        dev.hid_0CH_SetFwProfile(1, block.data());
        dev.hid_04H_SetDPIStage(3, 1);
        QVERIFY(vmouse::log().empty());
        QCOMPARE(vmouse::state().profiles[1], vmouse::factoryState().profiles[1]);

        bindQuietly(dev);
        QVERIFY(!dev.linkLost());
        QVERIFY(dev.hid_82H_GetCurrentProfile(v));
        QCOMPARE(int(v), int(vmouse::factoryState().currentProfile));
    }

    void blockSetFailures() {
        injectFaults("fail-write");
        auto block = pattern(5);
        QVERIFY(!dev.hid_0CH_SetFwProfile(1, block.data()));
        QCOMPARE(int(traffic(Dir::Output).size()), 2);
        QCOMPARE(vmouse::state().profiles[1], vmouse::factoryState().profiles[1]);

        // Unplugged at the first output report: the block never lands, and the next command
        // fails at the open step without touching the wire.
        injectFaults("unplug-at=3");
        vmouse::clearLog();
        QVERIFY(!dev.hid_0FH_SetMacroKey(7, block.data()));
        QVERIFY(vmouse::unplugged());
        QCOMPARE(vmouse::state().macros[6], vmouse::factoryState().macros[6]);
        vmouse::clearLog();
        uchar p = 9;
        QVERIFY(!dev.hid_82H_GetCurrentProfile(p));
        QVERIFY(wire().empty());

        // A command report the mouse refuses is a failed set as well.
        vmouse::reset();
        bindQuietly(dev);
        injectFaults("fail-send");
        QVERIFY(!dev.hid_03H_SetReportRate(2, 1));
        vmouse::setFaults({});
        bindQuietly(dev); // the next device check
        QVERIFY(dev.hid_03H_SetReportRate(2, 1));
    }

    // Nobody checks an answer's echo or checksum; its values are taken as they come.
    void wrongAnswerPassesThrough() {
        injectFaults("wrong-answer");
        uchar p = 9;
        QVERIFY(dev.hid_82H_GetCurrentProfile(p));
        QCOMPARE(int(p), int(vmouse::factoryState().currentProfile));
    }

    void debugCodeMeansNoExchange() {
        MS_HT66FB560 debugged;
        QTest::ignoreMessage(QtDebugMsg, "true"); // the greeting
        debugged.findDevice(1, virtualEntry(QStringLiteral("k-vertex")));
        QVERIFY(debugged.master()->debugMode());
        QVERIFY(debugged.usbTask().scramble);

        QTest::ignoreMessage(QtDebugMsg, "true");
        uchar v = 4;
        QVERIFY(!debugged.hid_82H_GetCurrentProfile(v));
        QCOMPARE(int(v), 4);
        QTest::ignoreMessage(QtDebugMsg, "true");
        auto block = pattern(3);
        QVERIFY(!debugged.hid_0CH_SetFwProfile(0, block.data()));
        debugged.slave()->stopPolling();
        QVERIFY(traffic(Dir::Open, vmouse::commandPath).empty());
    }

    // A block that is not a whole number of reports travels with its tail in a last report,
    // padded with zeros; nothing beyond the caller's length or the task's buffer is touched.
    void oddAndOversizedBlocks() {
        uchar data[100];
        for (int i = 0; i < 100; ++i)
            data[i] = uchar(i + 1);
        uchar set[9] = {0, 0x0F, 2, 0x80};
        QVERIFY(dev.hid_SetDataCmd(set, data, 100));
        const auto out = traffic(Dir::Output);
        QCOMPARE(int(out.size()), 2);
        QCOMPARE(int(out[1].bytes.size()), 65);
        QCOMPARE(hex(std::vector<uchar>(out[1].bytes.begin() + 35, out[1].bytes.begin() + 38)),
                 QByteArray("63 64 00"));

        uchar got[101];
        got[100] = 0xAB;
        uchar get[9] = {0, 0x8C, 0, 0x80};
        QVERIFY(dev.hid_GetDataCmd(get, got, 100));
        QVERIFY(std::equal(got, got + 100, vmouse::state().profiles[0].begin()));
        QCOMPARE(int(got[100]), 0xAB);

        vmouse::clearLog();
        std::vector<uchar> big(600, 0x11);
        QVERIFY(!dev.hid_SetDataCmd(set, big.data(), 600));
        QVERIFY(!dev.hid_GetDataCmd(get, big.data(), 513));
        QVERIFY(!dev.hid_GetDataCmd(get, big.data(), -1));
        // No report length to carry a block in: refused instead of walking forever.
        DeviceBinding b = virtualBinding();
        b.reportLength = 0;
        bindQuietly(dev, b);
        QVERIFY(!dev.hid_8CH_GetFwProfile(0, big.data()));
        QVERIFY(vmouse::log().empty());
    }
};

QTEST_GUILESS_MAIN(FailuresTest)
#include "tst_device_failures.moc"
