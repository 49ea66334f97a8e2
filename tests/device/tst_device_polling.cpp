// The vendor polling thread.

#include "LinkTestUtil.h"

#include <QTest>

using namespace linktest;
using vmouse::Dir;

// Collects vendor reports in the test's thread (queued from the polling thread), so the
// test reads them without racing the thread that emits them.
class Receiver : public QObject {
    Q_OBJECT
public:
    QList<QList<uchar>> reports;
    QList<QThread *> threads;
    explicit Receiver(Slave *slave) { connect(slave, &Slave::onVendor, this, &Receiver::take); }
public Q_SLOTS:
    void take(QList<uchar> r) {
        reports.append(r);
        threads.append(QThread::currentThread());
    }
};

static DeviceBinding vendorOnly(const char *path) {
    DeviceBinding b;
    b.vendorPath = QString::fromLatin1(path);
    return b;
}

class PollingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { vmouse::reset(); }
    void cleanup() { QTRY_COMPARE(vmouse::openHandles(), 0); }

    void vendorReportsArriveOnceEach() {
        MS_HT66FB560 dev;
        Receiver r(dev.slave());
        dev.bindDevice(virtualBinding(true));
        vmouse::queueVendorReport({0x01, 0x02, 0x03, 0x04});
        QTRY_COMPARE(r.reports.size(), 1);
        vmouse::queueVendorReport({0x0A, 0x0B, 0x0C}); // short: dropped
        vmouse::queueVendorReport({0x05, 0x06, 0x07, 0x08});
        QTRY_COMPARE(r.reports.size(), 2);
        dev.slave()->stopPolling();
        QVERIFY(dev.slave()->isFinished());
        QCoreApplication::processEvents();
        QCOMPARE(r.reports, (QList<QList<uchar>>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
        QCOMPARE(r.threads.at(0), QThread::currentThread());
        // Every read was bounded and had its own open and close.
        for (const auto &e : traffic(Dir::Input, vmouse::vendorPath))
            QCOMPARE(e.timeoutMs, Slave::readTimeoutMs);
        QCOMPARE(traffic(Dir::Open, vmouse::vendorPath).size(),
                 traffic(Dir::Close, vmouse::vendorPath).size());
        // Left polling: destroying the device object stops and waits for the thread.
        dev.bindDevice(virtualBinding(true));
    }

    // A second binding while polling: all of the old loop happens before the new loop touches
    // its interface, and the old loop's last act is closing its handle.
    void rebindEndsTheOldLoopFirst() {
        auto list = vmouse::mouseInterfaces("mouse-a/0", "mouse-a/1");
        for (const auto &i : vmouse::mouseInterfaces("mouse-b/0", "mouse-b/1"))
            list.push_back(i);
        vmouse::setInterfaces(list);
        Slave slave;
        Receiver r(&slave);
        slave.startPolling(vendorOnly("mouse-a/1"), 4);
        QTRY_VERIFY(!traffic(Dir::Open, "mouse-a/1").empty());
        slave.startPolling(vendorOnly("mouse-b/1"), 4);
        vmouse::queueVendorReport({4, 3, 2, 1});
        QTRY_COMPARE(r.reports.size(), 1);
        slave.stopPolling();

        const auto log = vmouse::log();
        size_t lastA = 0, firstB = log.size();
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i].path == "mouse-a/1")
                lastA = i;
            if (log[i].path == "mouse-b/1" && firstB == log.size())
                firstB = i;
        }
        QVERIFY(lastA < firstB && firstB < log.size());
        QCOMPARE(log[lastA].dir, Dir::Close);
        QCOMPARE(log[firstB].dir, Dir::Open);
    }

    void emptyVendorPathEndsAtOnce() {
        Slave slave;
        slave.startPolling(DeviceBinding{}, 4);
        QVERIFY(slave.wait(QDeadlineTimer(5000)));
        QVERIFY(vmouse::log().empty());
    }

    void unplugEndsTheLoop() {
        Slave slave;
        slave.startPolling(vendorOnly(vmouse::vendorPath), 4);
        QTRY_VERIFY(!traffic(Dir::Open).empty());
        vmouse::Faults f;
        f.absent = true;
        vmouse::setFaults(f);
        // The running read ends at once; the reopen fails and the thread ends by itself.
        QVERIFY(slave.wait(QDeadlineTimer(5000)));
        QCOMPARE(traffic(Dir::Open).back().result, 0);
    }
};

QTEST_GUILESS_MAIN(PollingTest)
#include "tst_device_polling.moc"
