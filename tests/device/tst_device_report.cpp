// Command report checksum and the scrambler.

#include "HidReport.h"
#include "LinkTestUtil.h"

#include <hidapi.h>

#include <QRandomGenerator>
#include <QTest>

using namespace linktest;

class ReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void checksums_data() {
        QTest::addColumn<QByteArray>("body"); // bytes 0-7
        QTest::addColumn<int>("expected");
        // Every command's own checksum is in the commands test; these are the edges.
        QTest::newRow("zero body") << QByteArray(8, '\0') << 0xFF;
        QTest::newRow("sum wraps at 256") << QByteArray::fromHex("00ffffff00000000") << 0x02;
        QTest::newRow("report ID not counted") << QByteArray::fromHex("7f02010000000000") << 0xFC;
    }

    void checksums() {
        QFETCH(QByteArray, body);
        QFETCH(int, expected);
        uchar r[9] = {};
        std::memcpy(r, body.constData(), 8);
        r[8] = 0x55; // whatever was there before is overwritten, not summed
        MS_HT66FB560 dev;
        dev.hid_Cs(r);
        QCOMPARE(int(r[8]), expected);
    }

    // Worked by hand from the four steps, so that a change to any one of them shows even
    // though the firmware model would follow it.
    void scrambleKnownVectors() {
        // Zero report, zero code: only the added, nibble-swapped key "VaTqeRus" remains.
        std::array<uchar, 8> p{};
        hidreport::scrambleBlock(p.data(), {});
        QCOMPARE(hex(p), QByteArray("65 16 45 17 56 25 57 37"));
        // A bit of p[5] is swapped to p[0] and rotated 3 left into p[7]'s low bit.
        std::array<uchar, 8> q{0, 0, 0, 0, 0, 0x20, 0, 0};
        hidreport::scrambleBlock(q.data(), {});
        QCOMPARE(hex(q), QByteArray("65 16 45 17 56 25 57 38"));
        // Code byte 1 lands on p[1] after the swap; 0x01 rotated left by 3 gives 0x08.
        std::array<uchar, 8> r{};
        hidreport::scrambleBlock(r.data(), {0, 0x01, 0, 0, 0, 0, 0, 0});
        QCOMPARE(hex(r), QByteArray("65 1e 45 17 56 25 57 37"));
        // Code bytes 0 and 7 play no part.
        std::array<uchar, 8> s{};
        hidreport::scrambleBlock(s.data(), {0xFF, 0, 0, 0, 0, 0, 0, 0xFF});
        QCOMPARE(hex(s), hex(p));
    }

    // The host scrambles, the virtual mouse's firmware unscrambles: over random reports and
    // codes it must recover every clear report, and the report ID must stay 00.
    void scrambleRoundTripThroughTheFirmware() {
        vmouse::reset();
        QRandomGenerator rng(20261206);
        hid_device *dev = hid_open_path(vmouse::commandPath);
        QVERIFY(dev);
        int unchanged = 0;
        for (int round = 0; round < 3000; ++round) {
            std::string text(6, '\0');
            std::array<uchar, 8> code{};
            for (int i = 0; i < 6; ++i)
                code[size_t(i + 1)] = uchar(text[size_t(i)] = char(rng.bounded(256)));
            vmouse::setDeviceCode(text);
            std::array<uchar, 9> clear{};
            for (int i = 1; i < 8; ++i)
                clear[size_t(i)] = uchar(rng.bounded(256));
            hidreport::setChecksum(clear.data());
            auto sent = clear;
            hidreport::scrambleBlock(sent.data() + 1, code);
            unchanged += sent == clear;
            QCOMPARE(int(sent[0]), 0);
            vmouse::clearLog();
            QCOMPARE(hid_send_feature_report(dev, sent.data(), sent.size()), 9);
            QCOMPARE(hex(vmouse::log().back().clear), hex(clear));
        }
        hid_close(dev);
        QVERIFY(unchanged < 3);
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_device_report.moc"
