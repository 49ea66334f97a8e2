// Failure paths of an exchange: each must report failure, leave the caller's values alone,
// release the device and stay within the read bound.

#include "LinkTestUtil.h"
#include "Master.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

Q_DECLARE_METATYPE(vmouse::Faults)

class FailuresTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void getFailures_data();
    void getFailures();
    void blockGetFailures_data();
    void blockGetFailures();
    void outputFailureStillTriesEveryReport();
    void unplugMidExchange();
    void wrongAnswerPassesThrough();
    void unboundDeviceFailsQuietly();
    void debugCodeMeansNoTraffic();
    void tailReportForOddLengths();
    void oversizedBlocksAreRefused();
    void noReportLengthDoesNotSpin();
};

void FailuresTest::init() { vmouse::reset(); }

void FailuresTest::cleanup() { QCOMPARE(vmouse::openHandles(), 0); }

void FailuresTest::getFailures_data() {
    QTest::addColumn<vmouse::Faults>("faults");
    QTest::addColumn<int>("featuresSeen");
    QTest::addColumn<int>("answersSeen");
    vmouse::Faults f;
    f.absent = true;
    QTest::newRow("absent") << f << 0 << 0;
    f = {};
    f.failFeatureSend = true;
    QTest::newRow("feature send fails") << f << 1 << 0;
    f = {};
    f.failAnswer = true;
    QTest::newRow("answer fails") << f << 1 << 1;
    f = {};
    f.answerLength = 2;
    QTest::newRow("answer stops before its values") << f << 1 << 1;
    f = {};
    f.unplugAtCall = 2;  // open succeeds, the feature report finds the mouse gone
    QTest::newRow("unplugged after open") << f << 1 << 0;
}

void FailuresTest::getFailures() {
    QFETCH(vmouse::Faults, faults);
    QFETCH(int, featuresSeen);
    QFETCH(int, answersSeen);
    MS_HT66FB560 dev;
    bindQuietly(dev);
    vmouse::setFaults(faults);
    vmouse::clearLog();

    uchar rate = 0x77;
    QVERIFY(!dev.hid_83H_GetReportRate(rate, 1));
    QCOMPARE(int(rate), 0x77);
    QCOMPARE(int(traffic(Dir::FeatureOut).size()), featuresSeen);
    QCOMPARE(int(traffic(Dir::Answer).size()), answersSeen);
    QCOMPARE(int(traffic(Dir::Input).size()), 0);

    QString version = QStringLiteral("untouched");
    QVERIFY(!dev.hid_80H_GetFWVersion(version));
    QCOMPARE(version, QStringLiteral("unknown"));
    uchar v = 0x33;
    QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
    QVERIFY(!dev.hid_81H_GetFunctionOption(v));
    QVERIFY(!dev.hid_84H_GetDPIStage(v, 0));
    QVERIFY(!dev.hid_89H_GetRGBLedTwinkle(v));
    QCOMPARE(int(v), 0x33);
}

void FailuresTest::blockGetFailures_data() {
    QTest::addColumn<vmouse::Faults>("faults");
    QTest::addColumn<bool>("blockUntouched");
    vmouse::Faults f;
    f.failAnswer = true;
    QTest::newRow("answer fails") << f << true;
    f = {};
    f.silent = true;
    QTest::newRow("silent: reads time out") << f << true;
    f = {};
    f.inputReportLength = 10;
    QTest::newRow("short data reports") << f << false;
    f = {};
    f.unplugAtCall = 5;  // open, feature, answer, first read ok; the second read fails
    QTest::newRow("unplugged between reports") << f << false;
}

void FailuresTest::blockGetFailures() {
    QFETCH(vmouse::Faults, faults);
    QFETCH(bool, blockUntouched);
    MS_HT66FB560 dev;
    bindQuietly(dev);
    vmouse::setFaults(faults);
    vmouse::clearLog();
    auto mine = pattern(200);
    auto block = mine;
    QVERIFY(!dev.hid_8DH_GetKeyMatrix(2, block.data()));
    if (blockUntouched)
        QCOMPARE(block, mine);
    // Every data read was bounded.
    for (const auto &e : traffic(Dir::Input))
        QVERIFY(e.timeoutMs >= 0 && e.timeoutMs <= Master::readTimeoutMs);
}

void FailuresTest::outputFailureStillTriesEveryReport() {
    MS_HT66FB560 dev;
    bindQuietly(dev);
    vmouse::Faults f;
    f.failWrite = true;
    vmouse::setFaults(f);
    auto block = pattern(5);
    dev.hid_0CH_SetFwProfile(1, block.data());
    QCOMPARE(int(traffic(Dir::Output).size()), 2);
    QCOMPARE(vmouse::state().profiles[1], vmouse::factoryState().profiles[1]);

    // The same walk through the generic layer reports the failure.
    uchar r[9] = {0, 0x0C, 1, 0x80};
    UsbTask t = dev.usbTask();
    std::copy(r, r + 9, t.command.begin());
    dev.hid_Cs(t.command.data());
    std::copy(block.begin(), block.end(), t.data.begin());
    t.dataLength = 128;
    QVERIFY(!dev.master()->transfer(t));
}

void FailuresTest::unplugMidExchange() {
    MS_HT66FB560 dev;
    bindQuietly(dev);
    vmouse::Faults f;
    f.unplugAtCall = 3;  // open, feature report, then the first output report fails
    vmouse::setFaults(f);
    auto block = pattern(9);
    dev.hid_0FH_SetMacroKey(7, block.data());
    QVERIFY(vmouse::unplugged());
    QCOMPARE(vmouse::state().macros[6], vmouse::factoryState().macros[6]);
    // From now on the mouse is gone: the next command fails at the open step.
    vmouse::clearLog();
    uchar p = 9;
    QVERIFY(!dev.hid_82H_GetCurrentProfile(p));
    QCOMPARE(int(p), 9);
    QCOMPARE(int(traffic(Dir::FeatureOut).size()), 0);
}

// Nobody checks the echo or checksum of an answer; values are taken as they come.
void FailuresTest::wrongAnswerPassesThrough() {
    MS_HT66FB560 dev;
    bindQuietly(dev);
    vmouse::Faults f;
    f.wrongAnswer = true;
    vmouse::setFaults(f);
    uchar p = 9;
    QVERIFY(dev.hid_82H_GetCurrentProfile(p));
    QCOMPARE(int(p), 0);
}

void FailuresTest::unboundDeviceFailsQuietly() {
    MS_HT66FB560 dev;
    uchar v = 1;
    QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
    auto block = pattern(1);
    auto copy = block;
    QVERIFY(!dev.hid_8CH_GetFwProfile(0, block.data()));
    QCOMPARE(block, copy);
    dev.hid_02H_SetCurrentProfile(3);
    QCOMPARE(int(vmouse::state().currentProfile), 0);
}

void FailuresTest::debugCodeMeansNoTraffic() {
    MS_HT66FB560 dev;
    DevInfoEntry e;
    e.vid = 0x04d9;
    e.pid = 0xa1b7;
    e.usagePage = 0xff00;
    e.usage = 0xff00;
    e.usagePage2 = 0xff01;
    e.usage2 = 0x0001;
    e.reportLength = 64;
    e.sCode = QStringLiteral("k-vertex");
    QTest::ignoreMessage(QtDebugMsg, "true");  // the greeting
    dev.findDevice(1, e);
    dev.slave()->stopPolling();
    vmouse::clearLog();

    QTest::ignoreMessage(QtDebugMsg, "true");
    uchar v = 4;
    QVERIFY(!dev.hid_82H_GetCurrentProfile(v));
    QCOMPARE(int(v), 4);
    QTest::ignoreMessage(QtDebugMsg, "true");
    auto block = pattern(3);
    dev.hid_0CH_SetFwProfile(0, block.data());
    for (const auto &entry : vmouse::log())
        QVERIFY(entry.path != vmouse::commandPath);
    QCOMPARE(int(vmouse::commands().size()), 0);
}

// A block that is not a whole number of reports: the tail travels in a last report,
// padded with zeros on the way out, and nothing past the block is read or written.
void FailuresTest::tailReportForOddLengths() {
    MS_HT66FB560 dev;
    bindQuietly(dev);
    uchar data[100];
    for (int i = 0; i < 100; ++i)
        data[i] = uchar(i + 1);
    uchar r[9] = {0, 0x0F, 2, 0x80};
    dev.hid_SetDataCmd(r, data, 100);
    const auto out = traffic(Dir::Output);
    QCOMPARE(int(out.size()), 2);
    QCOMPARE(int(out[1].bytes.size()), 65);
    QCOMPARE(int(out[1].bytes[1]), 65);
    QCOMPARE(int(out[1].bytes[36]), 100);
    QCOMPARE(int(out[1].bytes[37]), 0);

    auto st = vmouse::factoryState();
    st.profiles[0] = pattern(40);
    vmouse::setState(st);
    uchar got[130];
    std::fill(std::begin(got), std::end(got), 0xAB);
    uchar g[9] = {0, 0x8C, 0, 0x80};
    // The mouse sends 128 bytes; a caller asking for 100 gets exactly 100.
    QVERIFY(dev.hid_GetDataCmd(g, got, 100));
    QVERIFY(std::equal(got, got + 100, st.profiles[0].begin()));
    QCOMPARE(int(got[100]), 0xAB);
}

void FailuresTest::oversizedBlocksAreRefused() {
    MS_HT66FB560 dev;
    bindQuietly(dev);
    std::vector<uchar> big(600, 0x11);
    uchar r[9] = {0, 0x0C, 0, 0x80};
    dev.hid_SetDataCmd(r, big.data(), 600);
    uchar g[9] = {0, 0x8C, 0, 0x80};
    QVERIFY(!dev.hid_GetDataCmd(g, big.data(), 513));
    QVERIFY(!dev.hid_GetDataCmd(g, big.data(), -1));
    QCOMPARE(int(vmouse::log().size()), 0);
}

void FailuresTest::noReportLengthDoesNotSpin() {
    MS_HT66FB560 dev;
    DeviceBinding b = virtualBinding();
    b.reportLength = 0;
    bindQuietly(dev, b);
    auto block = pattern(2);
    QVERIFY(!dev.hid_8CH_GetFwProfile(0, block.data()));
    dev.hid_0CH_SetFwProfile(0, block.data());
    QCOMPARE(int(traffic(Dir::Output).size()), 0);
    // Commands without a block still work.
    dev.hid_02H_SetCurrentProfile(2);
    QCOMPARE(int(vmouse::state().currentProfile), 2);
}

QTEST_GUILESS_MAIN(FailuresTest)
#include "tst_device_failures.moc"
