// The command set on the wire and in the firmware model, with the report checksum and the
// scrambler.

#include "HidReport.h"
#include "LinkTestUtil.h"

#include <hidapi.h>

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace linktest;
using vmouse::Dir;

using Call = std::function<void(MS_HT66FB560 &)>;
Q_DECLARE_METATYPE(Call)

class CommandsTest : public QObject {
    Q_OBJECT
    MS_HT66FB560 dev; // bound afresh for every case

private Q_SLOTS:
    void init() {
        vmouse::reset();
        bindQuietly(dev);
    }

    void singleValueSets_data() {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("02H") << Call([](auto &d) { d.hid_02H_SetCurrentProfile(1); })
                             << QByteArray("00 02 01 00 00 00 00 00 fc");
        // The profile id goes first on the wire although it is the second parameter.
        QTest::newRow("03H") << Call([](auto &d) { d.hid_03H_SetReportRate(2, 3); })
                             << QByteArray("00 03 03 02 00 00 00 00 f7");
        QTest::newRow("04H") << Call([](auto &d) { d.hid_04H_SetDPIStage(5, 4); })
                             << QByteArray("00 04 04 05 00 00 00 00 f2");
        QTest::newRow("08H") << Call([](auto &d) { d.hid_08H_SetStopMacroSending(); })
                             << QByteArray("00 08 aa cc ee 00 00 00 93");
    }

    void singleValueSets() {
        QFETCH(Call, call);
        QFETCH(QByteArray, expected);
        call(dev);
        const auto w = wire();
        QCOMPARE(int(w.size()), 1); // no answer, no data reports
        QCOMPARE(hex(w[0].bytes), expected);
        QCOMPARE(int(vmouse::commands().size()), 1); // the firmware took it
        QCOMPARE(vmouse::openHandles(), 0);
    }

    // Each getter's report, the answer byte it takes, and the firmware's value arriving.
    void singleValueGets() {
        auto st = vmouse::factoryState();
        st.functionOption = 0x5A;
        st.currentProfile = 4;
        st.reportRate[3] = 8;
        st.dpiStage[2] = 7;
        st.ledTwinkle = 0;
        st.fwMajor = 0x0A; // the major number unpadded in lower case, the minor as two
        st.fwMinor = 0x0B; // upper-case digits
        vmouse::setState(st);

        std::array<uchar, 5> v{0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        QVERIFY(dev.hid_81H_GetFunctionOption(v[0]));
        QVERIFY(dev.hid_82H_GetCurrentProfile(v[1]));
        QVERIFY(dev.hid_83H_GetReportRate(v[2], 3));
        QVERIFY(dev.hid_84H_GetDPIStage(v[3], 2));
        QVERIFY(dev.hid_89H_GetRGBLedTwinkle(v[4]));
        QCOMPARE(hex(v), QByteArray("5a 04 08 07 00"));
        QString version;
        QVERIFY(dev.hid_80H_GetFWVersion(version));
        QCOMPARE(version, QStringLiteral("a.0B"));

        QList<QByteArray> sent;
        for (const auto &e : traffic(Dir::FeatureOut))
            sent << hex(e.bytes);
        QCOMPARE(sent,
                 (QList<QByteArray>{"00 81 00 00 00 00 00 00 7e", "00 82 00 00 00 00 00 00 7d",
                                    "00 83 03 00 00 00 00 00 79", "00 84 02 00 00 00 00 00 79",
                                    "00 89 00 00 00 00 00 00 76", "00 80 00 00 00 00 00 00 7f"}));
        QCOMPARE(int(traffic(Dir::Answer).size()), 6);
        QCOMPARE(int(traffic(Dir::Input).size()), 0);
    }

    void blocksRoundTrip_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("setReport");
        QTest::addColumn<QByteArray>("getReport");
        QTest::newRow("profile block 0") << 0 << 0 << QByteArray("00 0c 00 80 00 00 00 00 73")
                                         << QByteArray("00 8c 00 80 00 00 00 00 f3");
        QTest::newRow("key matrix 1") << 1 << 1 << QByteArray("00 0d 01 80 00 00 00 00 71")
                                      << QByteArray("00 8d 01 80 00 00 00 00 f1");
        QTest::newRow("macro slot 100") << 2 << 100 << QByteArray("00 0f 64 80 00 00 00 00 0c")
                                        << QByteArray("00 8f 64 80 00 00 00 00 8c");
    }

    // A block set and read back: the reports, the pauses (30 ms after a feature report, 10 ms
    // after each output report, the last included), bounded reads, and the firmware's copy.
    void blocksRoundTrip() {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(QByteArray, setReport);
        QFETCH(QByteArray, getReport);
        using Call = bool (MS_HT66FB560::*)(uchar, uchar *);
        const std::pair<Call, Call> calls[] = {
            {&MS_HT66FB560::hid_0CH_SetFwProfile, &MS_HT66FB560::hid_8CH_GetFwProfile},
            {&MS_HT66FB560::hid_0DH_SetKeyMatrix, &MS_HT66FB560::hid_8DH_GetKeyMatrix},
            {&MS_HT66FB560::hid_0FH_SetMacroKey, &MS_HT66FB560::hid_8FH_GetMacroKey}};
        const auto [set, get] = calls[kind];
        const auto block = pattern(uchar(kind * 50 + id));
        auto out = block;
        vmouse::Block back{};
        QVERIFY((dev.*set)(uchar(id), out.data()));
        QVERIFY((dev.*get)(uchar(id), back.data()));
        const vmouse::State st = vmouse::state();
        QCOMPARE(kind == 0   ? st.profiles[id]
                 : kind == 1 ? st.matrices[id]
                             : st.macros[id - 1],
                 block);
        QCOMPARE(back, block);
        QCOMPARE(vmouse::undecodable(), 0);

        // Set: feature, two outputs; get: feature, answer, two inputs.
        const auto w = wire();
        QCOMPARE(int(w.size()), 7);
        QCOMPARE(hex(w[0].bytes), setReport);
        for (size_t i = 1; i <= 2; ++i) {
            QCOMPARE(w[i].dir, Dir::Output);
            QCOMPARE(int(w[i].bytes.size()), 65);
            QCOMPARE(int(w[i].bytes[0]), 0);
        }
        QVERIFY2(gapMs(w[0], w[1]) >= 30.0, qPrintable(QString::number(gapMs(w[0], w[1]))));
        QVERIFY2(gapMs(w[1], w[2]) >= 10.0, qPrintable(QString::number(gapMs(w[1], w[2]))));
        QVERIFY(gapMs(w[2], traffic(Dir::Close).at(0)) >= 10.0);
        QCOMPARE(hex(w[3].bytes), getReport);
        QCOMPARE(w[4].dir, Dir::Answer);
        QCOMPARE(int(w[4].bytes.size()), 9);
        QVERIFY(gapMs(w[4], w[5]) >= 30.0);
        for (size_t i = 5; i <= 6; ++i) {
            QCOMPARE(w[i].dir, Dir::Input);
            QCOMPARE(int(w[i].bytes.size()), 64);
            // Bounded, so a mouse that stops answering cannot freeze the caller.
            QVERIFY(w[i].timeoutMs > 0 && w[i].timeoutMs <= Master::readTimeoutMs);
        }
    }

    // With a device code the report ID stays 00, the rest changes, and the firmware still
    // understands every kind of command; a mouse with another code ignores them.
    void scrambledCommandsReachTheFirmware() {
        vmouse::setDeviceCode("Q7dev1");
        DeviceBinding b = virtualBinding();
        b.scramble = true;
        b.code = hidreport::codeBytes(QStringLiteral("Q7dev1"));
        bindQuietly(dev, b);

        dev.hid_03H_SetReportRate(4, 2);
        auto block = pattern(77);
        dev.hid_0DH_SetKeyMatrix(3, block.data());
        uchar stage = 0;
        QVERIFY(dev.hid_84H_GetDPIStage(stage, 0));

        const auto sent = traffic(Dir::FeatureOut);
        QCOMPARE(int(sent[0].bytes[0]), 0);
        QVERIFY(hex(sent[0].bytes) != QByteArray("00 03 02 04 00 00 00 00 f6"));
        QCOMPARE(hex(sent[0].clear), QByteArray("00 03 02 04 00 00 00 00 f6"));
        QCOMPARE(int(vmouse::state().reportRate[2]), 4);
        QCOMPARE(vmouse::state().matrices[3], block);
        QCOMPARE(int(stage), int(factory::dpiStage));
        QCOMPARE(vmouse::undecodable(), 0);

        vmouse::setDeviceCode("other1");
        dev.hid_03H_SetReportRate(8, 2);
        QCOMPARE(int(vmouse::state().reportRate[2]), 4);
        QCOMPARE(vmouse::undecodable(), 1);
    }

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

QTEST_GUILESS_MAIN(CommandsTest)
#include "tst_device_commands.moc"
