#include "KeyNames.h"
#include "MacroEncoder.h"

#include <QTest>

using Bytes = QList<unsigned char>;
Q_DECLARE_METATYPE(Bytes)

namespace {

QString press(const QString &key) { return key + MacroTag::down; }
QString release(const QString &key) { return key + MacroTag::up; }
QString pause(const QString &ms) { return ms + MacroTag::delay; }
QString pause(int ms) { return pause(QString::number(ms)); }

// The records between the placeholder play count and the end mark.
Bytes records(const QStringList &lines)
{
    static const auto table = buildKeyNameTable();
    const Bytes all = encodeMacroLines(lines, table);
    if (all.size() < 4 || all.mid(0, 2) != Bytes{0x00, 0x01} || all.mid(all.size() - 2) != Bytes{0, 0})
        return {0xEE}; // not framed: fails every comparison
    return all.mid(2, all.size() - 4);
}

QStringList pairs(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << press(QStringLiteral("A")) << release(QStringLiteral("A"));
    return lines;
}

} // namespace

class TestMacroEncoder : public QObject {
    Q_OBJECT
private slots:
    void encodesLines_data();
    void encodesLines();
    void delaysNeverCorruptOtherRecords_data();
    void delaysNeverCorruptOtherRecords();
    void blockCarriesPlayCountAndIsCutOrPadded();
};

void TestMacroEncoder::encodesLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Bytes>("expected");
    const QString a = QStringLiteral("A");

    QTest::newRow("worked example")
        << QStringList{press(a), pause(50), release(a), pause(2000), press(a), release(a)}
        << Bytes{0x05, 0x04, 0x81, 0x04, 0x64, 0x01, 0x01, 0x04, 0x81, 0x04};
    QTest::newRow("1270 folds to 127") << QStringList{press(a), pause(1270)} << Bytes{0x7F, 0x04};
    QTest::newRow("5 folds to 1") << QStringList{release(a), pause(5)} << Bytes{0x81, 0x04};
    QTest::newRow("1271 is a medium delay") << QStringList{press(a), pause(1271)}
                                            << Bytes{0x01, 0x04, 0x40, 0x01};
    QTest::newRow("5100 is the longest medium delay") << QStringList{press(a), pause(5100)}
                                                      << Bytes{0x01, 0x04, 0xFF, 0x01};
    QTest::newRow("5101 is a long delay") << QStringList{press(a), pause(5101)}
                                          << Bytes{0x01, 0x04, 0x00, 0x01, 0x00, 0xFF};
    QTest::newRow("short delay first is a long delay") << QStringList{pause(5)}
                                                       << Bytes{0x00, 0x01, 0x00, 0x01};
    QTest::newRow("second short delay in a row is a long delay")
        << QStringList{press(a), pause(50), pause(60)} << Bytes{0x05, 0x04, 0x00, 0x01, 0x00, 0x03};
    QTest::newRow("release keeps bit 7") << QStringList{release(a), pause(300)} << Bytes{0x9E, 0x04};
    QTest::newRow("mouse buttons and arrows")
        << QStringList{press(QStringLiteral("MS-B5")), release(QString(QChar(0x25BA)))}
        << Bytes{0x01, 0xF4, 0x81, 0x4F};
    QTest::newRow("names compare exactly")
        << QStringList{press(QStringLiteral("KP 7 ")), press(QStringLiteral("KP 7")),
                       press(QStringLiteral("a")), press(QStringLiteral(" A"))}
        << Bytes{0x01, 0x5F};
    QTest::newRow("lines the mouse cannot play are left out")
        << QStringList{QString(), QStringLiteral("A [Down]"), MacroTag::down, press(QStringLiteral("Nope")),
                       a + QStringLiteral("   [Down]"), pause(0), pause(QStringLiteral("abc")),
                       pause(QStringLiteral("99999999999")), QStringLiteral("0"), release(a)}
        << Bytes{0x81, 0x04};
    QTest::newRow("very long delay saturates instead of wrapping")
        << QStringList{pause(1310700), pause(1310720), pause(std::numeric_limits<int>::max())}
        << Bytes{0x00, 0x01, 0xFF, 0xFF, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x01, 0xFF, 0xFF};
    QTest::newRow("negative delay is the shortest")
        << QStringList{press(a), pause(-40), pause(-40)} << Bytes{0x01, 0x04, 0x00, 0x01, 0x00, 0x01};
}

void TestMacroEncoder::encodesLines()
{
    QFETCH(QStringList, lines);
    QFETCH(Bytes, expected);
    QCOMPARE(records(lines), expected);
}

// A short pause is folded only into a key record that has none yet; anywhere else it would
// rewrite a delay record into a different one, or silently drop an earlier pause.
void TestMacroEncoder::delaysNeverCorruptOtherRecords_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Bytes>("expected");
    const QString a = QStringLiteral("A");
    const QString junk = press(QStringLiteral("NoSuchKey"));

    QTest::newRow("after a medium delay")
        << QStringList{press(a), pause(2000), junk, pause(50)}
        << Bytes{0x01, 0x04, 0x64, 0x01, 0x00, 0x01, 0x00, 0x03};
    QTest::newRow("after a long delay")
        << QStringList{pause(8000), junk, pause(1000)}
        << Bytes{0x00, 0x01, 0x01, 0x90, 0x00, 0x01, 0x00, 0x32};
    QTest::newRow("after a skipped first line")
        << QStringList{junk, pause(100)} << Bytes{0x00, 0x01, 0x00, 0x05};
    QTest::newRow("after an already folded pause")
        << QStringList{press(a), pause(50), junk, pause(60)}
        << Bytes{0x05, 0x04, 0x00, 0x01, 0x00, 0x03};
    QTest::newRow("skipped key line between key and pause still folds")
        << QStringList{press(a), junk, pause(300)} << Bytes{0x1E, 0x04};
}

void TestMacroEncoder::delaysNeverCorruptOtherRecords()
{
    QFETCH(QStringList, lines);
    QFETCH(Bytes, expected);
    QCOMPARE(records(lines), expected);
}

void TestMacroEncoder::blockCarriesPlayCountAndIsCutOrPadded()
{
    const auto table = buildKeyNameTable();
    bool cut = true;

    MacroBlock empty = finishMacroBlock(encodeMacroLines({}, table), 1, &cut);
    QVERIFY(!cut);
    MacroBlock expected{};
    expected[1] = 0x01;
    QCOMPARE(empty, expected);

    MacroBlock counted = finishMacroBlock(encodeMacroLines({}, table), 300, &cut);
    QCOMPARE(counted[0], 0x01);
    QCOMPARE(counted[1], 0x2C);

    // 62 records fill the block exactly, end mark included.
    const Bytes full = encodeMacroLines(pairs(31), table);
    QCOMPARE(full.size(), macroBlockSize);
    MacroBlock fullBlock = finishMacroBlock(full, 1, &cut);
    QVERIFY(!cut);
    QCOMPARE(fullBlock[126], 0x00);
    QCOMPARE(fullBlock[127], 0x00);
    QCOMPARE(fullBlock[125], 0x04);

    // 63 records: 130 bytes, the tail (end mark) is lost.
    QStringList lines = pairs(31);
    lines << press(QStringLiteral("B"));
    const Bytes over = encodeMacroLines(lines, table);
    QCOMPARE(over.size(), 130);
    MacroBlock overBlock = finishMacroBlock(over, 2, &cut);
    QVERIFY(cut);
    QCOMPARE(overBlock[1], 0x02);
    for (int i = 2; i < macroBlockSize; ++i)
        QCOMPARE(overBlock[i], over[i]);
}

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macro_encoder.moc"
