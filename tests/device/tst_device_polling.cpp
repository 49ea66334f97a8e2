// The vendor polling thread.

#include "LinkTestUtil.h"
#include "Slave.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

class PollingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void vendorReportsArriveOnceEach();
    void shortReportsAreDropped();
    void reachesTheDeviceObjectsThread();
    void rebindEndsTheOldLoopFirst();
    void emptyVendorPathEndsAtOnce();
    void stopPollingWaitsForTheThread();
    void unplugEndsTheLoop();
    void destroyingTheDeviceStopsPolling();
};

void PollingTest::init() { vmouse::reset(); }

// Collects vendor reports in the test's thread (queued from the polling thread), so the
// test reads them without racing the thread that emits them.
class Receiver : public QObject {
    Q_OBJECT
public:
    QList<QList<uchar>> reports;
    QList<QThread *> threads;
    void listen(Slave *slave) { connect(slave, &Slave::onVendor, this, &Receiver::take); }
public Q_SLOTS:
    void take(QList<uchar> r) {
        reports.append(r);
        threads.append(QThread::currentThread());
    }
};

void PollingTest::cleanup() { QTRY_COMPARE(vmouse::openHandles(), 0); }

static DeviceBinding vendorOnly(const char *path) {
    DeviceBinding b;
    b.vendorPath = QString::fromLatin1(path);
    return b;
}

void PollingTest::vendorReportsArriveOnceEach() {
    Slave slave;
    Receiver r;
    r.listen(&slave);
    slave.startPolling(vendorOnly(vmouse::vendorPath), 4);
    vmouse::queueVendorReport({0x01, 0x02, 0x03, 0x04});
    QTRY_COMPARE(r.reports.size(), 1);
    vmouse::queueVendorReport({0x05, 0x06, 0x07, 0x08});
    QTRY_COMPARE(r.reports.size(), 2);
    slave.stopPolling();
    QCoreApplication::processEvents();
    QCOMPARE(r.reports.size(), 2);
    QCOMPARE(r.reports.at(0), (QList<uchar>{1, 2, 3, 4}));
    QCOMPARE(r.reports.at(1), (QList<uchar>{5, 6, 7, 8}));
    // Each read used the 500 ms bound and its own open/close.
    for (const auto &e : traffic(Dir::Input))
        QCOMPARE(e.timeoutMs, Slave::readTimeoutMs);
    QCOMPARE(traffic(Dir::Open).size(), traffic(Dir::Close).size());
}

void PollingTest::shortReportsAreDropped() {
    Slave slave;
    Receiver r;
    r.listen(&slave);
    slave.startPolling(vendorOnly(vmouse::vendorPath), 4);
    vmouse::queueVendorReport({0x0A, 0x0B, 0x0C});
    vmouse::queueVendorReport({0x09, 0x09, 0x09, 0x09});
    QTRY_COMPARE(r.reports.size(), 1);
    slave.stopPolling();
    QCoreApplication::processEvents();
    QCOMPARE(r.reports.size(), 1);
    QCOMPARE(r.reports.at(0), (QList<uchar>{9, 9, 9, 9}));
}

// The report crosses into the thread that owns the device object, as a queued signal.
void PollingTest::reachesTheDeviceObjectsThread() {
    MS_HT66FB560 dev;
    Receiver r;
    r.listen(dev.slave());
    dev.bindDevice(virtualBinding(true));
    vmouse::queueVendorReport({1, 2, 3, 4});
    QTRY_COMPARE(r.threads.size(), 1);
    QCOMPARE(r.threads.at(0), QThread::currentThread());
}

// A second binding while polling: everything of the old loop happens before the new loop
// touches its interface, and the old loop's last act is closing its handle.
void PollingTest::rebindEndsTheOldLoopFirst() {
    auto list = vmouse::mouseInterfaces("mouse-a/0", "mouse-a/1");
    for (const auto &i : vmouse::mouseInterfaces("mouse-b/0", "mouse-b/1"))
        list.push_back(i);
    vmouse::setInterfaces(list);
    Slave slave;
    Receiver r;
    r.listen(&slave);
    slave.startPolling(vendorOnly("mouse-a/1"), 4);
    QTRY_VERIFY(!trafficOn("mouse-a/1").empty());
    slave.startPolling(vendorOnly("mouse-b/1"), 4);
    vmouse::queueVendorReport({4, 3, 2, 1});
    QTRY_COMPARE(r.reports.size(), 1);
    slave.stopPolling();

    const auto log = vmouse::log();
    int lastA = -1, firstB = -1;
    for (int i = 0; i < int(log.size()); ++i) {
        if (log[size_t(i)].path == "mouse-a/1")
            lastA = i;
        if (log[size_t(i)].path == "mouse-b/1" && firstB < 0)
            firstB = i;
    }
    QVERIFY(lastA >= 0 && firstB >= 0);
    QVERIFY(lastA < firstB);
    QCOMPARE(log[size_t(lastA)].dir, Dir::Close);
    QCOMPARE(log[size_t(firstB)].dir, Dir::Open);
    // The old loop's read that was running at the rebind was bounded by the time-out.
    for (const auto &e : trafficOn("mouse-a/1"))
        if (e.dir == Dir::Input)
            QCOMPARE(e.timeoutMs, Slave::readTimeoutMs);
}

void PollingTest::emptyVendorPathEndsAtOnce() {
    Slave slave;
    slave.startPolling(DeviceBinding{}, 4);
    QVERIFY(slave.wait(QDeadlineTimer(5000)));
    QVERIFY(slave.isFinished());
    QCOMPARE(int(vmouse::log().size()), 0);
}

void PollingTest::stopPollingWaitsForTheThread() {
    Slave slave;
    slave.startPolling(vendorOnly(vmouse::vendorPath), 4);
    QTRY_VERIFY(!traffic(Dir::Open).empty());
    slave.stopPolling();
    QVERIFY(slave.isFinished());
    QCOMPARE(vmouse::openHandles(), 0);
    // Stopping a stopped thread is harmless.
    slave.stopPolling();
}

void PollingTest::unplugEndsTheLoop() {
    Slave slave;
    slave.startPolling(vendorOnly(vmouse::vendorPath), 4);
    QTRY_VERIFY(!traffic(Dir::Open).empty());
    vmouse::Faults f;
    f.absent = true;
    vmouse::setFaults(f);
    // The running read notices at once; the reopen fails and the thread ends by itself.
    QVERIFY(slave.wait(QDeadlineTimer(5000)));
    const auto opens = traffic(Dir::Open);
    QCOMPARE(opens.back().result, 0);
}

void PollingTest::destroyingTheDeviceStopsPolling() {
    QThread *thread = nullptr;
    {
        MS_HT66FB560 dev;
        dev.bindDevice(virtualBinding(true));
        thread = dev.slave();
        QTRY_VERIFY(!trafficOn(vmouse::vendorPath).empty());
        QVERIFY(thread->isRunning());
    }
    QCOMPARE(vmouse::openHandles(), 0);
}

QTEST_GUILESS_MAIN(PollingTest)
#include "tst_device_polling.moc"
