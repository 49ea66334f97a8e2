// The settings files' text form: golden files written by hand in the Qt 4.8 form are read,
// rewritten and compared byte for byte.
#include "IniFormat.h"
#include "Qt48Ini.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray golden(const char *name) {
    return readAll(QStringLiteral(GOLDEN_DIR "/") + name);
}

// Lines that differ between two texts of the same line count, or -1 lines when they do not.
QList<int> changedLines(const QByteArray &a, const QByteArray &b) {
    const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
    if (la.size() != lb.size())
        return {-1};
    QList<int> out;
    for (int i = 0; i < la.size(); ++i) {
        if (la.at(i) != lb.at(i))
            out.append(i);
    }
    return out;
}

} // namespace

class TestFormat : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int serial = 0;
    QString freshCopy(const QByteArray &bytes) {
        const QString path = dir.filePath(QStringLiteral("f%1.bin").arg(++serial));
        writeAll(path, bytes);
        return path;
    }

private slots:
    void goldenValuesReadAsText() {
        QSettings s(freshCopy(golden("profile.bin")), qt48IniFormat());
        QCOMPARE(s.status(), QSettings::NoError);
        QCOMPARE(s.value("common/curProfile").toString(), QStringLiteral("1"));
        QCOMPARE(s.value("common/sc", QStringLiteral("unset")).toString(), QString());
        QCOMPARE(s.value("Q7/vid").toString().toUInt(nullptr, 16), 0x04d9u);
        QCOMPARE(s.value("text/arrow").toString(), QString(QChar(0x25BA)));
        QCOMPARE(s.value("text/arrows").toString(), QString::fromUtf8("►◄ ▼▲"));
        QCOMPARE(s.value("text/latin").toString(), QString::fromUtf8("café"));
        QCOMPARE(s.value("text/hexAfterEscape").toString(), QString::fromUtf8("►abg"));
        QCOMPARE(s.value("text/comma").toString(), QStringLiteral("a, b"));
        QCOMPARE(s.value("text/leadingBlank").toString(), QStringLiteral(" x"));
        QCOMPARE(s.value("text/quote").toString(), QStringLiteral("say \"hi\""));
        QCOMPARE(s.value("text/backslash").toString(), QStringLiteral("C:\\dir"));
        QCOMPARE(s.value("text/at").toString(), QStringLiteral("@home"));
        QCOMPARE(s.value("text/controls").toString(), QStringLiteral("a\tb\nc"));
        QCOMPARE(s.value("text/nul").toString(), QString(QChar(0)) + QLatin1Char('1'));
        QCOMPARE(s.value("text/semicolon").toString(), QStringLiteral("a;b"));
        QCOMPARE(s.value("text/equals").toString(), QStringLiteral("k=v"));
        QCOMPARE(s.value("text/with/slash").toString(), QStringLiteral("2"));
        QCOMPARE(s.value(QString::fromUtf8("text/été")).toString(), QStringLiteral("3"));
        QCOMPARE(s.value(QStringLiteral("text/") + QChar(0x25BA)).toString(), QStringLiteral("4"));
        QCOMPARE(s.value("top").toString(), QStringLiteral("1"));
        QCOMPARE(s.value("General/x").toString(), QStringLiteral("5"));

        // Lists come back as lists of text; @Invalid() is an empty list.
        QCOMPARE(s.value("text/list").toStringList(),
                 (QStringList{QStringLiteral("a,b"), QStringLiteral("c"), QStringLiteral(" d")}));
        QCOMPARE(s.value("text/empty").toList().size(), 0);
        const QVariantList dirty = s.value("profile_fw/dirty").toList();
        QCOMPARE(dirty.size(), 6);
        QCOMPARE(dirty.at(1).toBool(), false);
        QCOMPARE(dirty.at(2).toBool(), true);
        QCOMPARE(s.value("profile_fw/0").toList().at(4).toUInt(), 207u);

        // Absent keys give exactly the caller's default.
        QCOMPARE(s.value("common/missing", 0).toInt(), 0);
        QVERIFY(!s.contains("common/missing"));
    }

    void goldenRewrittenUnchanged_data() {
        QTest::addColumn<QByteArray>("eol");
        QTest::newRow("lf") << QByteArray("\n");
        QTest::newRow("crlf kept") << QByteArray("\r\n");
    }
    void goldenRewrittenUnchanged() {
        QFETCH(QByteArray, eol);
        QByteArray original = golden("profile.bin");
        original.replace("\n", eol);
        const QString path = freshCopy(original);
        {
            QSettings s(path, qt48IniFormat());
            // Setting a value to what it already is still makes QSettings rewrite the file.
            s.setValue("common/curProfile", s.value("common/curProfile"));
            s.sync();
            QCOMPARE(s.status(), QSettings::NoError);
        }
        QCOMPARE(readAll(path), original);
    }

    // The rewrite above is a real one: text that is not in the canonical form comes out in it.
    void rewriteIsCanonical() {
        const QString path = freshCopy("; note\n[g]\n  a = 1 ,2 \nb = \"x\"\n");
        {
            QSettings s(path, qt48IniFormat());
            s.setValue("g/b", s.value("g/b"));
        }
        QCOMPARE(readAll(path), QByteArray("[g]\na=1, 2\nb=x\n"));
    }

    void oneChangedValueChangesOneLine() {
        const QByteArray original = golden("profile.bin");
        const QString path = freshCopy(original);
        {
            QSettings s(path, qt48IniFormat());
            s.setValue("profile_fw/0", QVariantList{9, 8, 7});
        }
        const QByteArray after = readAll(path);
        QCOMPARE(changedLines(original, after), QList<int>{10});
        QVERIFY(after.contains("\n0=9, 8, 7\n"));
    }

    void newKeysAppendedInTheirSection() {
        const QString path = freshCopy(golden("profile.bin"));
        {
            QSettings s(path, qt48IniFormat());
            s.setValue("common/z10", 2);
            s.setValue("common/z9", 1);
            s.setValue("zzz/a", true);
            s.remove("Q7/pid");
        }
        const QByteArray after = readAll(path);
        QVERIFY(
            after.startsWith("[common]\ncurProfile=1\nsc=\nimportProfile=2\nz9=1\nz10=2\n\n[Q7]\n"
                             "vid=04d9\n\n[profile_fw]\n"));
        QVERIFY(after.endsWith("[%General]\nx=5\n\n[zzz]\na=true\n"));
    }

    void valuesWrittenInQt48Form() {
        const QString path = dir.filePath("written.bin");
        QVariantList block;
        for (int i = 0; i < 128; ++i)
            block.append(i * 2);
        {
            QSettings s(path, qt48IniFormat());
            s.setValue("other_fw/3/", block); // a trailing slash names the same key
            s.setValue("t/arrow", QString(QChar(0x25BA)));
            s.setValue("t/comma", QStringLiteral("x,y"));
            s.setValue("t/empty", QVariantList());
            s.setValue("t/dirty", QVariantList{false, true, false, false, false, false});
            s.setValue("t/double", 255.0);
            s.setValue("t/at", QStringLiteral("@x"));
        }
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.contains("[other_fw]\n3=0, 2, 4, 6, "));
        QVERIFY(bytes.contains("\narrow=\\x25ba\n"));
        QVERIFY(bytes.contains("\ncomma=\"x,y\"\n"));
        QVERIFY(bytes.contains("\nempty=@Invalid()\n"));
        QVERIFY(bytes.contains("\ndirty=false, true, false, false, false, false\n"));
        QVERIFY(bytes.contains("\ndouble=255\n"));
        QVERIFY(bytes.contains("\nat=@@x\n"));
        for (char c : bytes)
            QVERIFY2(uchar(c) < 0x80, "the file must be plain ASCII");

        // A second process (here: a fresh parse of the bytes) sees the same values.
        const qt48ini::Document doc = qt48ini::parse(bytes, qt48ini::Codec::Latin1);
        QVERIFY(doc.ok);
        QVariant back;
        for (const qt48ini::Entry &e : doc.entries) {
            if (e.key == QLatin1String("other_fw/3"))
                back = e.value;
        }
        QCOMPARE(back.typeId(), QMetaType::QStringList);
        const QStringList texts = back.toStringList();
        QCOMPARE(texts.size(), 128);
        QCOMPARE(texts.at(5), QStringLiteral("10"));
        QCOMPARE(texts.at(127).toUInt(), 254u);
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
        QMap<QString, QVariant> m;
        QStringList order;
        for (const qt48ini::Entry &e : doc.entries) {
            m.insert(e.key, e.value);
            order.append(e.key);
        }
        QCOMPARE(m.value("first"), QVariant("1"));
        QCOMPARE(m.value("g/cont"), QVariant("ab"));
        QCOMPARE(m.value("g/multi"), QVariant("x\ny"));
        QCOMPARE(m.value("g/spaced"), QVariant("v"));
        QCOMPARE(m.value("g/dup"), QVariant("2"));
        QCOMPARE(m.value("broken/k"), QVariant("v"));
        QCOMPARE(order,
                 (QStringList{"first", "g/cont", "g/multi", "g/spaced", "g/dup", "broken/k"}));

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
        const QByteArray huge("@Variant(\\0\\0\\0\\xBy\xff\xff" "3)");
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
                switch (rng.bounded(4)) {
                case 0:
                    s += special.at(rng.bounded(special.size()));
                    break;
                case 1:
                    s += QChar(char16_t(rng.bounded(0x20, 0x7F)));
                    break;
                case 2:
                    s += QChar(char16_t(rng.bounded(0x80, 0x10000)));
                    break;
                default:
                    s += QChar(char16_t(0));
                }
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
                QMap<QString, QVariant> want, got;
                for (const auto &e : entries)
                    want.insert(e.key, e.value);
                for (const auto &e : back.entries)
                    got.insert(e.key, e.value);
                QCOMPARE(got.keys(), want.keys());
                for (const QString &key : want.keys()) {
                    const QVariant w = want.value(key), g = got.value(key);
                    if (w.typeId() == QMetaType::QStringList)
                        QCOMPARE(g.toStringList(), w.toStringList());
                    else
                        QCOMPARE(g.toString(), w.toString());
                }
            }
        }
    }

    // Arbitrary bytes never crash the reader, and what it made of them can be written.
    void arbitraryBytes() {
        QRandomGenerator rng(99);
        static const char letters[] = "[]=;,\"\\\n\r @%xU0aF\t\x80\xff"
                                      "(){}Variant";
        const QByteArray alphabet(letters, sizeof letters - 1);
        for (int round = 0; round < 3000; ++round) {
            QByteArray data;
            const int n = rng.bounded(80);
            for (int i = 0; i < n; ++i)
                data += rng.bounded(3) ? alphabet.at(rng.bounded(alphabet.size()))
                                       : char(rng.bounded(256));
            for (const auto codec : {qt48ini::Codec::Latin1, qt48ini::Codec::Utf8}) {
                const qt48ini::Document doc = qt48ini::parse(data, codec);
                qt48ini::parse(qt48ini::serialize(doc.entries, codec), codec);
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
