// The language files the program ships, as staged in bin/modules/i18n/.
#include "Languages.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

class TestShippedLanguages : public QObject {
    Q_OBJECT

    QString dir;
    QVariantMap languages;

    static QSet<int> namedPositions(const QStringList &layout) {
        QSet<int> positions;
        for (int k = 0; k < layout.size(); ++k)
            if (!layout.at(k).isEmpty())
                positions.insert(k);
        return positions;
    }

private slots:
    void initTestCase() {
        dir = qEnvironmentVariable("Q7_BUILD_BIN") + QStringLiteral("/modules/i18n/");
        languages = Languages(dir).chkLanguages();
        QCOMPARE(languages.keys(), QStringList({"CHINESE (Simp)", "CHINESE (Trad)", "ENGLISH"}));
    }

    void filesAreUtf8WithoutByteOrderMark() {
        for (const QVariant &code : std::as_const(languages)) {
            QFile f(dir + "lang_" + code.toString() + ".ini");
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            // The Qt 4.8 reader rejects a byte-order mark on the first line.
            QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), qPrintable(f.fileName()));
            QCOMPARE(QString::fromUtf8(bytes).toUtf8(), bytes);
        }
    }

    void everyFileIsComplete() {
        QSet<int> expectedPositions;
        for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
            Languages l(dir);
            const QStringList strings = l.getGlobalStrings(it.value().toString());
            QVERIFY2(strings.size() >= 119, qPrintable(it.key()));
            for (int k = 0; k <= 118; ++k)
                QVERIFY2(!strings.at(k).isEmpty(), qPrintable(it.key() + QString(" %1").arg(k)));
            QCOMPARE(l.msgStrings().size(), 7);
            for (const QString &m : l.msgStrings())
                QVERIFY2(!m.isEmpty(), qPrintable(it.key()));

            const QStringList layout = l.q7_getProductLayoutStrings(it.value().toString());
            QCOMPARE(layout.size(), 16);
            if (expectedPositions.isEmpty())
                expectedPositions = namedPositions(layout);
            QCOMPARE(namedPositions(layout), expectedPositions);
        }
        // The mouse's keys: both main buttons, wheel click, the two side buttons, the DPI
        // button, the top button and the two wheel directions.
        QCOMPARE(expectedPositions, QSet<int>({0, 1, 2, 3, 4, 5, 6, 14, 15}));
    }

    void englishKeepsTheIndexesThePagesRead() {
        Languages l(dir);
        const QStringList en = l.getGlobalStrings(languages.value("ENGLISH").toString());
        QCOMPARE(en.at(0), QString("Arial"));
        // Anchors spread over the list: a shifted line would move every later text.
        const QList<QPair<int, QString>> anchors{
            {1, "OPTIONS"},        {13, "STATIC"},       {46, "KEYBOARD"},  {59, "PLAY / PAUSE"},
            {74, "KEY"},           {86, "SENSOR"},       {93, "FIRE KEY"},  {100, "POLLING RATE"},
            {111, "LED CONTROL"},  {114, "ALL SAVE"},    {115, "DPI +"},    {116, "DPI -"},
            {118, "PROFILE SWITCH"}};
        for (const auto &[index, text] : anchors)
            QCOMPARE(en.at(index), text);
    }

    void chineseFilesAreTranslated() {
        const QStringList en = Languages(dir).getGlobalStrings(languages.value("ENGLISH").toString());
        for (const QString name : {"CHINESE (Simp)", "CHINESE (Trad)"}) {
            Languages l(dir);
            const QStringList zh = l.getGlobalStrings(languages.value(name).toString());
            QStringList untranslated;
            for (int k = 1; k <= 118; ++k)
                if (zh.at(k) == en.at(k))
                    untranslated << en.at(k);
            // Only the DPI step names read the same in every language.
            QCOMPARE(untranslated, QStringList({"DPI +", "DPI -"}));
        }
        const QStringList simp = Languages(dir).getGlobalStrings("025044");
        const QStringList trad = Languages(dir).getGlobalStrings("025208");
        // Traditional is its own file, not a copy: e.g. "language" is written differently.
        QCOMPARE(simp.at(29), QString("语言"));
        QCOMPARE(trad.at(29), QString("語言"));
    }
};

QTEST_GUILESS_MAIN(TestShippedLanguages)
#include "tst_i18n_shipped.moc"
