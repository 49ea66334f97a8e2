// The settings files' text form: golden files written by hand in the Qt 4.8 form are read,
// rewritten and compared byte for byte.
#include "ProfileFiles.h"

#include <QRandomGenerator>

namespace {

QByteArray golden(const char *name) { return bytesOf(QStringLiteral(GOLDEN_DIR "/") + name); }

} // namespace

class TestFormat : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int serial = 0;
    QString freshCopy(const QByteArray &bytes) {
        const QString path = dir.filePath(QStringLiteral("f%1.bin").arg(++serial));
        return bytes.isNull() || writeFile(path, bytes) ? path : QString(); // null: no file yet
    }

private slots:
    void goldenValuesReadAsText() {
        QSettings s(freshCopy(golden("profile.bin")), qt48IniFormat());
        QCOMPARE(s.status(), QSettings::NoError);
        QCOMPARE(s.value("common/sc", QStringLiteral("unset")).toString(), QString());
        QCOMPARE(s.value("text/nul").toString(), QString(QChar(0)) + QLatin1Char('1'));
        QStringList texts;
        for (const char *key :
             {"text/arrows", "text/latin", "text/hexAfterEscape", "text/comma", "text/leadingBlank",
              "text/quote", "text/backslash", "text/at", "text/controls", "text/semicolon",
              "text/equals", "text/with/slash", "text/été", "text/►", "top", "General/x"})
            texts << s.value(QString::fromUtf8(key)).toString();
        QCOMPARE(texts, (QStringList{"►◄ ▼▲", "café", "►abg", "a, b", " x", "say \"hi\"", "C:\\dir",
                                     "@home", "a\tb\nc", "a;b", "k=v", "2", "3", "4", "1", "5"}));

        // Lists come back as lists of text; @Invalid() is an empty list.
        QCOMPARE(s.value("text/list").toStringList(),
                 (QStringList{QStringLiteral("a,b"), QStringLiteral("c"), QStringLiteral(" d")}));
        QCOMPARE(s.value("text/empty").toList().size(), 0);
        const QVariantList dirty = s.value("profile_fw/dirty").toList();
        QCOMPARE(dirty.size(), 6);
        QCOMPARE(dirty.at(1).toBool(), false);
        QCOMPARE(dirty.at(2).toBool(), true);
        QCOMPARE(s.value("profile_fw/0").toList().at(4).toUInt(), 207u);
    }

    // Setting a value to what it already is still makes QSettings rewrite the file: text in
    // the Qt 4.8 form comes back byte for byte (line ends kept), other text in that form. A
    // changed value changes its one line, a new key goes to the end of its section or a new
    // one, and a removed key takes only its line with it. (An invalid value removes a key.)
    void rewrites_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<QByteArray>("rewritten");
        const QByteArray lf = golden("profile.bin"), crlf = QByteArray(lf).replace("\n", "\r\n");
        const QVariantMap same{{"common/curProfile", "1"}};
        QTest::newRow("golden") << lf << same << lf;
        QTest::newRow("golden, crlf kept") << crlf << same << crlf;
        QTest::newRow("not canonical") << QByteArray("; note\n[g]\n  a = 1 ,2 \nb = \"x\"\n")
                                       << QVariantMap{{"g/b", "x"}} << QByteArray("[g]\na=1, 2\nb=x\n");
        QTest::newRow("one value") << lf << QVariantMap{{"profile_fw/0", QVariantList{9, 8, 7}}}
                                   << QByteArray(lf).replace("0=0, 1, 2, 255, 207, 8", "0=9, 8, 7");
        QTest::newRow("keys added and removed")
            << lf << QVariantMap{{"common/z10", 2}, {"common/z9", 1}, {"zzz/a", true}, {"Q7/pid", {}}}
            << QByteArray(lf)
                   .replace("importProfile=2\n", "importProfile=2\nz9=1\nz10=2\n")
                   .replace("pid=a1b7\n", "")
                   .append("\n[zzz]\na=true\n");
        // A new file, plain ASCII: a trailing slash names the same key, "@" is doubled, a
        // whole double has no fraction.
        QVariantList block;
        QByteArrayList blockText;
        for (int i = 0; i < 128; ++i)
            block.append(i * 2), blockText.append(QByteArray::number(i * 2));
        QTest::newRow("new file")
            << QByteArray()
            << QVariantMap{{"other_fw/3/", block}, {"t/arrow", QString(QChar(0x25BA))},
                           {"t/comma", "x,y"}, {"t/empty", QVariantList()}, {"t/double", 255.0},
                           {"t/dirty", QVariantList{false, true, false, false, false, false}},
                           {"t/at", "@x"}}
            << "[other_fw]\n3=" + blockText.join(", ") +
                   "\n\n[t]\narrow=\\x25ba\nat=@@x\ncomma=\"x,y\"\n"
                   "dirty=false, true, false, false, false, false\ndouble=255\nempty=@Invalid()\n";
    }
    void rewrites() {
        QFETCH(QByteArray, text);
        QFETCH(QVariantMap, changes);
        QFETCH(QByteArray, rewritten);
        const QString path = freshCopy(text);
        {
            QSettings s(path, qt48IniFormat());
            for (auto c = changes.cbegin(); c != changes.cend(); ++c)
                c->isValid() ? s.setValue(c.key(), *c) : s.remove(c.key());
            s.sync();
            QCOMPARE(s.status(), QSettings::NoError);
        }
        QCOMPARE(bytesOf(path), rewritten);
    }

    // Reading odd or damaged text never fails hard and follows the Qt 4.8 rules.
    void readerRules_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("trailing blanks cut") << QByteArray("abc  \t") << QVariant("abc");
        QTest::newRow("escaped trailing tab cut too") << QByteArray("abc\\t") << QVariant("abc");
        QTest::newRow("quoted blanks kept") << QByteArray("\"abc \"") << QVariant("abc ");
        QTest::newRow("list elements trimmed")
            << QByteArray(" 1 ,2,  3 ") << QVariant(QStringList{"1", "2", "3"});
        QTest::newRow("unknown escape dropped") << QByteArray("a\\qb") << QVariant("ab");
        QTest::newRow("long hex run keeps low 16 bits")
            << QByteArray("\\x1234567890abcdef25ba") << QVariant(QString(QChar(0x25BA)));
        QTest::newRow("dangling backslash") << QByteArray("abc\\") << QVariant("abc");
        QTest::newRow("bare \\x") << QByteArray("a\\xz") << QVariant("az");
        QTest::newRow("unterminated quote") << QByteArray("\"abc") << QVariant("abc");
    }
    void readerRules() {
        QFETCH(QByteArray, value);
        QFETCH(QVariant, expected);
        QCOMPARE(qt48ini::unescapedValue(value, qt48ini::Codec::Latin1), expected);
    }

    void readerStructure() {
        const QByteArray text = "; a comment\n"
                                "first=1 ; trailing comment\n"
                                "[g]\n"
                                "cont=a\\\nb\n"
                                "multi=\"x\ny\"\n"
                                "no equals here\n"
                                "  spaced  =  v  \n"
                                "dup=1\n"
                                "dup=2\n"
                                "[broken\n"
                                "k=v\n";
        const qt48ini::Document doc = qt48ini::parse(text, qt48ini::Codec::Latin1);
        QVERIFY(!doc.ok); // the line without '=' and the unclosed section
        QStringList got;  // in file order, a repeated key once with its last value
        for (const qt48ini::Entry &e : doc.entries)
            got.append(e.key + '=' + e.value.toString());
        QCOMPARE(got, (QStringList{"first=1", "g/cont=ab", "g/multi=x\ny", "g/spaced=v", "g/dup=2",
                                   "broken/k=v"}));

        // A byte-order mark is not part of the old form: the first line is not understood.
        const qt48ini::Document bom =
            qt48ini::parse("\xEF\xBB\xBF[s]\nk=v\n", qt48ini::Codec::Latin1);
        QVERIFY(!bom.ok);
        QCOMPARE(bom.entries.size(), 1);
        QCOMPARE(bom.entries.at(0).key, QStringLiteral("k"));
    }

    void serialisedVariantRoundTrips() {
        // The program never writes one-element lists, but a file that has one keeps it.
        const QByteArray v = qt48ini::escapedValue(QVariantList{42}, qt48ini::Codec::Latin1);
        QVERIFY(v.startsWith("@Variant("));
        QCOMPARE(qt48ini::unescapedValue(v, qt48ini::Codec::Latin1).toList(), QVariantList{42});
        // One that cannot be decoded is written back as it was.
        const QByteArray odd = "@Variant(\\0\\0\\x3\\xe8)";
        const QVariant read = qt48ini::unescapedValue(odd, qt48ini::Codec::Latin1);
        QCOMPARE(qt48ini::escapedValue(read, qt48ini::Codec::Latin1), odd);
        // A string list claiming about two billion elements in a few bytes (found by the
        // fuzzer) must not be taken at its word: it stays opaque and is kept as it was.
        const QByteArray huge("@Variant(\\0\\0\\0\\xBy\xff\xff"
                              "3)");
        const QVariant hugeRead = qt48ini::unescapedValue(huge, qt48ini::Codec::Latin1);
        QVERIFY(hugeRead.toList().isEmpty());
        const QByteArray kept = qt48ini::escapedValue(hugeRead, qt48ini::Codec::Latin1);
        QVERIFY(kept.startsWith("@Variant("));
        QCOMPARE(qt48ini::escapedValue(qt48ini::unescapedValue(kept, qt48ini::Codec::Latin1),
                                       qt48ini::Codec::Latin1),
                 kept);
    }

    // Whatever text the program stores comes back the same from the file: random strings
    // rich in the characters the form treats specially, alone and in lists.
    void randomValuesRoundTrip() {
        QRandomGenerator rng(4711);
        const QString special = QStringLiteral(" ,;=\"\\@[]%/\n\r\t\v\a\x01\x7f"
                                               "09afAFx");
        auto randomString = [&] {
            QString s;
            const int n = rng.bounded(12);
            for (int i = 0; i < n; ++i) {
                const int kind = rng.bounded(4); // special, ASCII, beyond ASCII, NUL
                s += kind == 0 ? special.at(rng.bounded(special.size()))
                               : QChar(char16_t(kind == 1   ? rng.bounded(0x20, 0x7F)
                                                : kind == 2 ? rng.bounded(0x80, 0x10000)
                                                            : 0));
            }
            // A trailing tab outside quotes is cut by the reader (as Qt 4.8's was).
            while (s.endsWith(QLatin1Char('\t')))
                s.chop(1);
            return s;
        };
        for (int round = 0; round < 3000; ++round) {
            QList<qt48ini::Entry> entries;
            const int keys = 1 + rng.bounded(4);
            for (int k = 0; k < keys; ++k) {
                const QString key = QStringLiteral("g%1/k%2").arg(rng.bounded(3)).arg(k);
                if (rng.bounded(2)) {
                    entries.append({key, randomString()});
                } else {
                    QStringList list;
                    const int n = rng.bounded(5);
                    for (int i = 0; i < n; ++i)
                        list.append(randomString());
                    if (list.size() == 1)
                        list.append(QString());
                    entries.append({key, list});
                }
            }
            for (const auto codec : {qt48ini::Codec::Latin1, qt48ini::Codec::Utf8}) {
                const QByteArray bytes = qt48ini::serialize(entries, codec);
                const qt48ini::Document back = qt48ini::parse(bytes, codec);
                QVERIFY2(back.ok, bytes.constData());
                QCOMPARE(back.entries.size(), entries.size());
                for (const auto &e : back.entries) {
                    const auto w = std::find_if(entries.begin(), entries.end(),
                                                [&](const auto &x) { return x.key == e.key; });
                    QVERIFY(w != entries.end());
                    QCOMPARE(e.value.toStringList(), w->value.toStringList());
                    QCOMPARE(e.value.typeId() == QMetaType::QString,
                             w->value.typeId() == QMetaType::QString);
                }
            }
        }
    }

    void keyEscapes() {
        QCOMPARE(qt48ini::escapedKey(QStringLiteral("a b/c%")), QByteArray("a%20b\\c%25"));
        QCOMPARE(qt48ini::escapedKey(QString(QChar(0x25BA))), QByteArray("%U25BA"));
        QCOMPARE(qt48ini::unescapedKey("a%20b\\c%2"), QStringLiteral("a b/c%2"));
        QCOMPARE(qt48ini::unescapedKey("%zz%"), QStringLiteral("%zz%"));
    }

    void languageFilesAreUtf8() {
        QByteArray bytes = golden("lang.ini");
        for (const QByteArray &prefix : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
            QSettings s(freshCopy(prefix + bytes), utf8IniFormat());
            QCOMPARE(s.value("font/total").toInt(), 2);
            QCOMPARE(s.value("strings/0").toString(), QString::fromUtf8("配置"));
            QCOMPARE(s.value("strings/1").toString(), QString::fromUtf8("► 下一个"));
            QCOMPARE(s.value("strings/2").toString(), QString::fromUtf8("逗号, 在里面"));
        }
    }
};

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
