// Command report framing and the scrambler.

#include "HidReport.h"
#include "LinkTestUtil.h"

#include <hidapi.h>

#include <QRandomGenerator>
#include <QTest>

using namespace linktest;

class ReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checksums_data();
    void checksums();
    void checksumIgnoresReportIdAndOldChecksum();
    void scrambleRoundTrip();
    void scrambleUsesOnlyCodeBytes1To6();
    void scrambleKnownVector();
    void codeBytesFromDeviceCode();
};

void ReportTest::checksums_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("expected");
    QTest::newRow("select profile 1") << QByteArray::fromHex("0002010000000000") << 0xFC;
    QTest::newRow("zero body") << QByteArray(9, '\0') << 0xFF;
    QTest::newRow("stop macro sending") << QByteArray::fromHex("0008aaccee000000") << 0x93;
    QTest::newRow("rate 2 for profile 3") << QByteArray::fromHex("0003030200000000") << 0xF7;
    QTest::newRow("block get profile 0") << QByteArray::fromHex("008c008000000000") << 0xF3;
    // The sum wraps at 256 before it is complemented.
    QTest::newRow("wrapping sum") << QByteArray::fromHex("00ffffff00000000") << 0x02;
}

void ReportTest::checksums() {
    QFETCH(QByteArray, body);
    QFETCH(int, expected);
    uchar r[9] = {};
    std::memcpy(r, body.constData(), size_t(std::min<qsizetype>(body.size(), 8)));
    QCOMPARE(int(hidreport::checksum(r)), expected);
    MS_HT66FB560 dev;
    dev.hid_Cs(r);
    QCOMPARE(int(r[8]), expected);
}

void ReportTest::checksumIgnoresReportIdAndOldChecksum() {
    uchar a[9] = {0x00, 0x02, 0x01, 0, 0, 0, 0, 0, 0x55};
    uchar b[9] = {0x7F, 0x02, 0x01, 0, 0, 0, 0, 0, 0xAA};
    QCOMPARE(hidreport::checksum(a), hidreport::checksum(b));
}

// The host scrambles, the virtual mouse's firmware unscrambles: over random reports and
// codes it must recover every clear report, and scrambling must actually change them.
void ReportTest::scrambleRoundTrip() {
    vmouse::reset();
    QRandomGenerator rng(20261206);
    hid_device *dev = hid_open_path(vmouse::commandPath);
    QVERIFY(dev);
    int unchanged = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text(6, '\0');
        for (auto &c : text)
            c = char(rng.bounded(256));
        std::array<uchar, 8> code{};
        for (int i = 0; i < 6; ++i)
            code[size_t(i + 1)] = uchar(text[size_t(i)]);
        code[0] = uchar(rng.bounded(256));  // bytes 0 and 7 play no part
        code[7] = uchar(rng.bounded(256));
        vmouse::setDeviceCode(text);

        std::array<uchar, 9> clear{};
        for (int i = 1; i < 8; ++i)
            clear[size_t(i)] = uchar(rng.bounded(256));
        hidreport::setChecksum(clear.data());
        auto wire = clear;
        hidreport::scrambleBlock(wire.data() + 1, code);
        if (wire == clear)
            ++unchanged;
        QCOMPARE(int(wire[0]), 0);
        vmouse::clearLog();
        QCOMPARE(hid_send_feature_report(dev, wire.data(), wire.size()), 9);
        const auto sent = vmouse::log().back();
        QCOMPARE(hex(sent.bytes), hex(wire));
        QCOMPARE(hex(sent.clear), hex(clear));
    }
    hid_close(dev);
    QVERIFY(unchanged < 3);
}

void ReportTest::scrambleUsesOnlyCodeBytes1To6() {
    const auto clear = hidreport::command(0x0C, 2, 0x80);
    std::array<uchar, 8> a = {0x00, 'A', 'b', 'C', 'd', 'E', 'f', 0x00};
    std::array<uchar, 8> b = a;
    b[0] = 0xFF;
    b[7] = 0x42;
    std::array<uchar, 8> c = a;
    c[3] ^= 0x01;
    auto pa = clear, pb = clear, pc = clear;
    hidreport::scrambleBlock(pa.data() + 1, a);
    hidreport::scrambleBlock(pb.data() + 1, b);
    hidreport::scrambleBlock(pc.data() + 1, c);
    QCOMPARE(hex(pa), hex(pb));
    QVERIFY(pa != pc);
    QCOMPARE(int(pa[0]), 0);
}

// Worked through by hand from the four steps, so a change to any one of them shows.
void ReportTest::scrambleKnownVector() {
    // Zero report and zero code: permuting and XOR change nothing, the rotation of zero is
    // zero, so the result is the nibble-swapped key.
    std::array<uchar, 8> p{};
    hidreport::scrambleBlock(p.data(), std::array<uchar, 8>{});
    QCOMPARE(hex(p), QByteArray("65 16 45 17 56 25 57 37"));
    // A single bit in p[5] moves to p[0] (permutation), then rotates 3 left out of p[0]
    // into p[7]: 0x20 << 3 overflows, landing as 0x01 in p[7].
    std::array<uchar, 8> q{};
    q[5] = 0x20;
    hidreport::scrambleBlock(q.data(), std::array<uchar, 8>{});
    QCOMPARE(int(q[7]), 0x37 + 0x01);
    QCOMPARE(int(q[0]), 0x65);
}

void ReportTest::codeBytesFromDeviceCode() {
    QCOMPARE(hex(hidreport::codeBytes(QStringLiteral("AbCdEf"))),
             QByteArray("00 41 62 43 64 45 66 00"));
    // Any other length leaves the code bytes zero rather than reading past the text.
    QCOMPARE(hex(hidreport::codeBytes(QStringLiteral("k-vertex"))),
             QByteArray("00 00 00 00 00 00 00 00"));
    QCOMPARE(hex(hidreport::codeBytes(QStringLiteral("abc"))), QByteArray("00 00 00 00 00 00 00 00"));
    QCOMPARE(hex(hidreport::codeBytes(QString())), QByteArray("00 00 00 00 00 00 00 00"));
}

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_device_report.moc"
