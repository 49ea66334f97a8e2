#include "KeyNames.h"

#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include <memory>

// Both sides of the key-name vocabulary are generated from one file; they must hold the same
// rows, and the rows must survive generation exactly (blanks, quotes, backslash, arrows).
class TestKeyNamesTable : public QObject {
    Q_OBJECT
private slots:
    void programTable();
    void interfaceMatchesProgram();
};

void TestKeyNamesTable::programTable() {
    // Row by row the interface side is held to this table below, and its names are checked there.
    const auto table = buildKeyNameTable();
    QCOMPARE(table.size(), 132);
    QCOMPARE(table.value(QString(QChar(0x25B2))), 0x52);
    // No name for 0x32; 00 and 01 would read as a missing key and a delay record.
    for (const unsigned char never : {0x00, 0x01, 0x32})
        QVERIFY(!table.values().contains(never));
}

void TestKeyNamesTable::interfaceMatchesProgram() {
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

QTEST_GUILESS_MAIN(TestKeyNamesTable)
#include "tst_keynames_table.moc"
