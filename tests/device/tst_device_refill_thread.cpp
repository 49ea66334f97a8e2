// The window reads the mouse for a refill on a thread of its own. Whatever else uses the link
// meanwhile takes turns with it: every exchange stays whole, and the refill reads the mouse's
// blocks as they are.

#include "DeviceRefillSource.h"
#include "LinkTestUtil.h"
#include "RefillSnapshot.h"

#include <QTest>

#include <thread>

using namespace linktest;

class RefillThreadTest : public QObject {
    Q_OBJECT
    MS_HT66FB560 dev; // bound afresh for every case
    DeviceRefillSource live{dev};

private Q_SLOTS:
    void init() {
        vmouse::reset();
        bindQuietly(dev);
    }

    void refillOnItsOwnThreadTakesTurnsWithOtherExchanges() {
        const vmouse::State mouse = vmouse::state();

        std::optional<RefillSnapshot> snapshot;
        std::thread refill([&] { snapshot = RefillSnapshot::readFrom(live); });
        // What the GUI thread may do while the refill reads: ask whether the link is up,
        // and send (the shell's busy lock keeps the pages from it, not the link).
        int sent = 0;
        for (int i = 0; i < 8; ++i) {
            sent += dev.hid_04H_SetDPIStage(uchar(mouse.dpiStage[2]), 2);
            QVERIFY(!dev.linkLost());
        }
        refill.join();

        QCOMPARE(sent, 8);
        QCOMPARE(vmouse::undecodable(), 0);
        QCOMPARE(vmouse::badHandleCalls(), 0);
        QCOMPARE(vmouse::openHandles(), 0);
        QVERIFY(snapshot->reachable());
        for (std::uint8_t d = 0; d < layout::profileCount; ++d) {
            RefillSource::Block block{};
            QVERIFY(snapshot->firmwareBlock(d, block));
            QCOMPARE(hex(block), hex(mouse.profiles[d]));
            QVERIFY(snapshot->keyMatrixBlock(d, block));
            QCOMPARE(hex(block), hex(mouse.matrices[d]));
        }
        std::uint8_t current = 0xff;
        QVERIFY(snapshot->currentProfile(current));
        QCOMPARE(int(current), int(mouse.currentProfile));
    }

    // A mouse gone mid-refill: the snapshot answers only what was read whole, and says the
    // mouse is unreachable, as a refill read directly would.
    void snapshotOfAMouseGoneMidwayHoldsOnlyWholeReads() {
        injectFaults("silent");
        RefillSnapshot s = RefillSnapshot::readFrom(live);
        QVERIFY(!s.reachable());
        std::uint8_t current = 0xff;
        QVERIFY(s.currentProfile(current)); // an answer, not a data report
        RefillSource::Block block{};
        for (std::uint8_t d = 0; d < layout::profileCount; ++d)
            QVERIFY(!s.firmwareBlock(d, block) && !s.keyMatrixBlock(d, block));
        QVERIFY(!s.firmwareBlock(layout::profileCount, block));
    }
};

QTEST_GUILESS_MAIN(RefillThreadTest)
#include "tst_device_refill_thread.moc"
