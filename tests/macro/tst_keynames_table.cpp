#include "KeyNameRows.h"
#include "KeyNames.h"

#include <QFile>
#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include <memory>

// Both sides of the key-name vocabulary are generated; these tests hold them to the rows of
// the data file and to each other.
class TestKeyNamesTable : public QObject {
    Q_OBJECT
private slots:
    void programTable();
    void interfaceMatchesProgram();
    void dataFileIsReadExactly();
    void dataFileMistakesAreRefused_data();
    void dataFileMistakesAreRefused();
};

void TestKeyNamesTable::programTable()
{
    const auto table = buildKeyNameTable();
    QCOMPARE(table.size(), 132);
    QCOMPARE(keyNameRowCount, 132);
    QCOMPARE(table.value(QStringLiteral("\\ |")), 0x31);
    QCOMPARE(table.value(QStringLiteral("KP 7 ")), 0x5F);
    QVERIFY(!table.contains(QStringLiteral("KP 7")));
    QCOMPARE(table.value(QStringLiteral("Intl'2")), 0x88);
    QCOMPARE(table.value(QStringLiteral("' \"")), 0x34);
    QCOMPARE(table.value(QStringLiteral("` ~")), 0x35);
    QCOMPARE(table.value(QString(QChar(0x25BA))), 0x4F);
    QCOMPARE(table.value(QString(QChar(0x25C4))), 0x50);
    QCOMPARE(table.value(QString(QChar(0x25BC))), 0x51);
    QCOMPARE(table.value(QString(QChar(0x25B2))), 0x52);
    QCOMPARE(table.value(QStringLiteral("MS-B5")), 0xF4);
    QVERIFY(!table.values().contains(0x32));
    // 00 would read as a missing key and 01 as a delay record.
    QVERIFY(!table.values().contains(0x00));
    QVERIFY(!table.values().contains(0x01));

    int mouseRows = 0;
    for (int i = 0; i < keyNameRowCount; ++i) {
        const bool isMouseCode = keyNameRows[i].code >= 0xF0;
        QCOMPARE(keyNameRows[i].mouse, isMouseCode);
        mouseRows += keyNameRows[i].mouse;
    }
    QCOMPARE(mouseRows, 5);
}

void TestKeyNamesTable::interfaceMatchesProgram()
{
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/modules/qml/basic/KeyCodeString.qml")));
    std::unique_ptr<QObject> keyCodeString(component.create());
    QVERIFY2(keyCodeString, qPrintable(component.errorString()));

    const auto map = [&](const char *name) {
        return keyCodeString->property(name).value<QJSValue>().toVariant().toMap();
    };
    const QVariantMap str2keycode = map("str2keycode"), keycode2str = map("keycode2str");
    const QVariantMap str2mousecode = map("str2mousecode"), mousecode2str = map("mousecode2str");
    QCOMPARE(str2keycode.size(), 127);
    QCOMPARE(keycode2str.size(), 127);
    QCOMPARE(str2mousecode.size(), 5);
    QCOMPARE(mousecode2str.size(), 5);

    for (int i = 0; i < keyNameRowCount; ++i) {
        const QString name = QString::fromUtf16(keyNameRows[i].name);
        const int code = keyNameRows[i].code;
        const QVariantMap &byName = keyNameRows[i].mouse ? str2mousecode : str2keycode;
        const QVariantMap &byCode = keyNameRows[i].mouse ? mousecode2str : keycode2str;
        QCOMPARE(byName.value(name).toInt(), code);
        QCOMPARE(byCode.value(QString::number(code)).toString(), name);
    }
}

void TestKeyNamesTable::dataFileIsReadExactly()
{
    QFile data(qEnvironmentVariable("Q7_SOURCE_DIR") + QStringLiteral("/macro/data/keynames.tsv"));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QString error;
    const QList<KeyNameSourceRow> rows = parseKeyNameRows(data.readAll(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(rows.size(), keyNameRowCount);
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].name, QString::fromUtf16(keyNameRows[i].name));
        QCOMPARE(rows[i].code, int(keyNameRows[i].code));
    }

    // Windows line ends and comments do not change what is read; blanks inside names stay.
    const QList<KeyNameSourceRow> crlf =
        parseKeyNameRows("# c\r\n5F\tKP 7 \tkey\r\n\r\nF0\tMS-L\tmouse\r\n", &error);
    QVERIFY(error.isEmpty());
    QCOMPARE(crlf.size(), 2);
    QCOMPARE(crlf[0].name, QStringLiteral("KP 7 "));
    QVERIFY(crlf[1].mouse);
}

void TestKeyNamesTable::dataFileMistakesAreRefused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("duplicate name") << QByteArray("04\tA\tkey\n05\tA\tkey\n");
    QTest::newRow("duplicate code") << QByteArray("04\tA\tkey\n04\tB\tkey\n");
    QTest::newRow("delay marker as a code") << QByteArray("01\tA\tkey\n");
    QTest::newRow("missing-key code") << QByteArray("00\tA\tkey\n");
    QTest::newRow("three-digit code") << QByteArray("104\tA\tkey\n");
    QTest::newRow("blanks instead of tabs") << QByteArray("04 A key\n");
    QTest::newRow("unknown kind") << QByteArray("04\tA\tpedal\n");
    QTest::newRow("empty name") << QByteArray("04\t\tkey\n");
    QTest::newRow("no rows") << QByteArray("# nothing\n");
}

void TestKeyNamesTable::dataFileMistakesAreRefused()
{
    QFETCH(QByteArray, data);
    QString error;
    QVERIFY(parseKeyNameRows(data, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestKeyNamesTable)
#include "tst_keynames_table.moc"
