// The key names and the macro encoder, which need no mouse.
#include "KeyNames.h"
#include "MacroEncoder.h"

#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include <memory>

using Bytes = QList<unsigned char>;

namespace {

QString down(const QString &key) { return key + MacroTag::down; }
QString up(const QString &key) { return key + MacroTag::up; }
QString wait(const QString &ms) { return ms + MacroTag::delay; }
QString wait(int ms) { return wait(QString::number(ms)); }

} // namespace

// Both sides of the key-name vocabulary are generated from one file; they must hold the same
// rows, and the rows must survive generation exactly (blanks, quotes, backslash, arrows).
class TestMacroEncoder : public QObject {
    Q_OBJECT
private slots:
    void programTable() {
        // Row by row the interface side is held to this table below, its names checked there.
        const auto table = buildKeyNameTable();
        QCOMPARE(table.size(), 132);
        QCOMPARE(table.value(QString(QChar(0x25B2))), 0x52);
        // No name for 0x32; 00 and 01 would read as a missing key and a delay record.
        for (const unsigned char never : {0x00, 0x01, 0x32})
            QVERIFY(!table.values().contains(never));
    }

    void interfaceMatchesProgram() {
        QQmlEngine engine;
        QQmlComponent component(&engine,
                                QUrl(QStringLiteral("qrc:/modules/qml/basic/KeyCodeString.qml")));
        std::unique_ptr<QObject> keys(component.create());
        QVERIFY2(keys, qPrintable(component.errorString()));
        const auto map = [&](const char *name) {
            return keys->property(name).value<QJSValue>().toVariant().toMap();
        };
        const QVariantMap byName[2] = {map("str2keycode"), map("str2mousecode")};
        const QVariantMap byCode[2] = {map("keycode2str"), map("mousecode2str")};
        QCOMPARE(byName[0].size() + byName[1].size(), keyNameRowCount);
        QCOMPARE(byName[1].size(), 5);

        for (int i = 0; i < keyNameRowCount; ++i) {
            const QString name = QString::fromUtf16(keyNameRows[i].name);
            const int code = keyNameRows[i].code, side = keyNameRows[i].mouse;
            QCOMPARE(side, int(code >= 0xF0));
            QCOMPARE(byName[side].value(name).toInt(), code);
            QCOMPARE(byCode[side].value(QString::number(code)).toString(), name);
        }
        QCOMPARE(byCode[0].size(), byName[0].size());
        QCOMPARE(byCode[1].size(), byName[1].size());
    }

    void records_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Bytes>("expected"); // between the placeholder 00 01 and the end mark
        const QString a = QStringLiteral("A"), junk = down(QStringLiteral("NoSuchKey"));

        QTest::newRow("worked example")
            << QStringList{down(a), wait(50), up(a), wait(2000), down(a), up(a)}
            << Bytes{0x05, 0x04, 0x81, 0x04, 0x64, 0x01, 0x01, 0x04, 0x81, 0x04};
        QTest::newRow("1270 folds to 127") << QStringList{down(a), wait(1270)} << Bytes{0x7F, 0x04};
        QTest::newRow("1271 medium")
            << QStringList{down(a), wait(1271)} << Bytes{0x01, 0x04, 0x40, 0x01};
        QTest::newRow("5100 medium")
            << QStringList{down(a), wait(5100)} << Bytes{0x01, 0x04, 0xFF, 0x01};
        QTest::newRow("5101 long")
            << QStringList{down(a), wait(5101)} << Bytes{0x01, 0x04, 0x00, 0x01, 0x00, 0xFF};
        QTest::newRow("5 first is long") << QStringList{wait(5)} << Bytes{0x00, 0x01, 0x00, 0x01};
        QTest::newRow("second short delay is long") << QStringList{down(a), wait(50), wait(60)}
                                                    << Bytes{0x05, 0x04, 0x00, 0x01, 0x00, 0x03};
        QTest::newRow("release keeps bit 7") << QStringList{up(a), wait(300)} << Bytes{0x9E, 0x04};
        QTest::newRow("names compare exactly")
            << QStringList{down(QStringLiteral("KP 7 ")), down(QStringLiteral("KP 7")),
                           down(QStringLiteral("a")), up(QString(QChar(0x25BA))),
                           down(QStringLiteral("MS-B5"))}
            << Bytes{0x01, 0x5F, 0x81, 0x4F, 0x01, 0xF4};
        QTest::newRow("unplayable lines are left out")
            << QStringList{QString(),
                           QStringLiteral("A [Down]"),
                           MacroTag::down,
                           a + QStringLiteral("   [Down]"),
                           wait(0),
                           wait(QStringLiteral("abc")),
                           wait(QStringLiteral("99999999999")),
                           up(a)}
            << Bytes{0x81, 0x04};
        // Fixed faults: a long pause saturates instead of wrapping round to a short one, and a
        // short pause is folded only into a key record without a pause of its own; folding it
        // into a delay record would make different records of it, or lose the first pause.
        QTest::newRow("long pause saturates")
            << QStringList{wait(1310720), wait(std::numeric_limits<int>::max())}
            << Bytes{0x00, 0x01, 0xFF, 0xFF, 0x00, 0x01, 0xFF, 0xFF};
        QTest::newRow("no fold into a medium delay")
            << QStringList{down(a), wait(2000), junk, wait(50)}
            << Bytes{0x01, 0x04, 0x64, 0x01, 0x00, 0x01, 0x00, 0x03};
        QTest::newRow("no fold into a long delay")
            << QStringList{wait(8000), junk, wait(1000)}
            << Bytes{0x00, 0x01, 0x01, 0x90, 0x00, 0x01, 0x00, 0x32};
        QTest::newRow("no fold into the play count")
            << QStringList{junk, wait(100)} << Bytes{0x00, 0x01, 0x00, 0x05};
        QTest::newRow("no second fold") << QStringList{down(a), wait(50), junk, wait(60)}
                                        << Bytes{0x05, 0x04, 0x00, 0x01, 0x00, 0x03};
        QTest::newRow("fold across a skipped key line")
            << QStringList{down(a), junk, wait(300)} << Bytes{0x1E, 0x04};
    }

    void records() {
        QFETCH(QStringList, lines);
        QFETCH(Bytes, expected);
        const Bytes all = encodeMacroLines(lines, buildKeyNameTable());
        QCOMPARE(all.mid(0, 2), (Bytes{0x00, 0x01}));
        QCOMPARE(all.mid(all.size() - 2), (Bytes{0x00, 0x00}));
        QCOMPARE(all.mid(2, all.size() - 4), expected);
    }

    void fullBlockIsNotCut() {
        QStringList lines;
        for (int i = 0; i < 31; ++i)
            lines << down(QStringLiteral("A")) << up(QStringLiteral("A"));
        // 62 records and the end mark fill the block exactly.
        bool cut = true;
        const MacroBlock block =
            finishMacroBlock(encodeMacroLines(lines, buildKeyNameTable()), 300, &cut);
        QVERIFY(!cut);
        QCOMPARE((QList<int>{block[0], block[1], block[125], block[126], block[127]}),
                 (QList<int>{0x01, 0x2C, 0x04, 0x00, 0x00}));
        // One record more is cut: the library test sees the box and the block sent.
    }
};

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macro_encoder.moc"
