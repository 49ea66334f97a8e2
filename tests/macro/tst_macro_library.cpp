#include "IniFormat.h"
#include "KeyNames.h"
#include "MacroLibrary.h"
#include "ScriptedDialogs.h"
#include "StoreRig.h"
#include "TestFiles.h"
#include "VirtualMouse.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>


namespace {

QString down(const QString &key) { return key + MacroTag::down; }
QString up(const QString &key) { return key + MacroTag::up; }

QStringList filesBelow(const QString &root) {
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

} // namespace

class TestMacroLibrary : public QObject {
    Q_OBJECT

    QString folder() const { return m_root->path() + QStringLiteral("/modules/macro/1/"); }
    QString fileOf(const QString &name) const { return folder() + name + QStringLiteral(".bin"); }
    static vmouse::Block slot(int n) { return vmouse::state().macros[size_t(n - 1)]; }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<StoreRig> m_rig;
    std::unique_ptr<MacroLibrary> m_lib;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

private slots:
    void cleanup() { m_dialogs.reset(), m_lib.reset(), m_rig.reset(), m_root.reset(); }

    void init() {
        vmouse::reset();
        m_root = std::make_unique<QTemporaryDir>();
        m_rig = std::make_unique<StoreRig>();
        QVERIFY(m_rig->plugIn());
        vmouse::clearLog();
        m_lib = std::make_unique<MacroLibrary>(&m_rig->link, buildKeyNameTable(), folder());
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }

    void namingAndListing() {
        // The library folder does not exist yet: the first macro creates it.
        QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 001"));
        QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("Macro. 001")), (QVariantList{-1, 1}));
        QVERIFY(writeFile(fileOf(QStringLiteral("Macro. 003")), ""));
        QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 002"));
        QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 004"));
        QVERIFY(m_lib->deleteMacroIni(QStringLiteral("Macro. 002")).toBool());
        QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 002"));

        for (const char *name : {"b.bin", "A.bin", "C.BIN", "notes.txt", ".dot.bin", ".bin"})
            QVERIFY(writeFile(folder() + QLatin1String(name), ""));
        QVERIFY(QDir(folder()).mkdir(QStringLiteral("folder.bin")));
        // "C.BIN" is not the file of macro "C" on this file system, and ".bin" names no macro.
        QCOMPARE(m_lib->getMacroIniNames(),
                 (QStringList{".dot.bin", "A.bin", "b.bin", "Macro. 001.bin", "Macro. 002.bin",
                              "Macro. 003.bin", "Macro. 004.bin"}));
    }

    void linesAndConfig() {
        const QString name = m_lib->createMacroIni().toString();
        m_lib->setMacroIniConfig(name, {-1, 7});
        // Characters the INI form treats specially, blanks at either end, non-ASCII arrows; the
        // arrows are stored as escapes.
        const QStringList lines{down(", <"),
                                up("; :"),
                                down("' \""),
                                up("\\ |"),
                                down("= +"),
                                down("KP 7 "),
                                down(QString(QChar(0x25BA))),
                                up(QString(QChar(0x25C4))),
                                down(QString(QChar(0x25BC))),
                                up(QString(QChar(0x25B2))),
                                down("[ {"),
                                QStringLiteral(" odd line ")};
        QVERIFY(m_lib->saveMacroIni(name, lines).toBool());
        QCOMPARE(m_lib->loadMacroIni(name), lines);
        const QByteArray text = bytesOf(fileOf(name));
        for (const char *escaped :
             {"6=\\x25ba    [Down]", "7=\\x25c4      [Up]", "8=\\x25bc", "9=\\x25b2"})
            QVERIFY2(text.contains(escaped), text.constData());
        QVERIFY(m_lib->saveMacroIni(name, {down("B")}).toBool());
        QCOMPARE(m_lib->loadMacroIni(name), QStringList{down("B")});
        QVERIFY(m_lib->saveMacroIni(name, {}).toBool());
        {
            QSettings file(fileOf(name), qt48IniFormat());
            QCOMPARE(file.value(QStringLiteral("config/total")).toString(), QStringLiteral("0"));
            QVERIFY(!file.childGroups().contains(QStringLiteral("macro")));
        }
        QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{-1, 7}));
        m_lib->setMacroIniConfig(name, {3}); // half a pair changes nothing
        QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{-1, 7}));

        // Missing lines read as "0"; a missing play count as 1; a damaged total is bounded.
        QVERIFY(writeFile(fileOf("old"), "[config]\nindex=4\ntotal=3\n[macro]\n0=A    [Down]\n"));
        QCOMPARE(m_lib->loadMacroIni("old"), (QStringList{down("A"), "0", "0"}));
        QCOMPARE(m_lib->loadMacroIniConfig("old"), (QVariantList{4, 1}));
        QVERIFY(writeFile(fileOf("huge"), "[config]\ntotal=2000000000\n"));
        QCOMPARE(m_lib->loadMacroIni("huge").size(), MacroLibrary::maxLines);
    }

    void missingAndHostileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("gone");
        QTest::newRow("empty") << QString();
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("parent") << QStringLiteral("../escape");
        QTest::newRow("two up") << QStringLiteral("../../escape");
        QTest::newRow("backslash") << QStringLiteral("..\\escape");
        QTest::newRow("absolute") << QStringLiteral("<root>/escape");
        QTest::newRow("nul") << QString::fromUtf16(u"x\0/../../escape", 15);
    }

    // Every operation answers as for a macro that does not exist and touches no file; the upload
    // sends an empty macro (play count 1, end mark, zeros).
    void missingAndHostileNames() {
        QFETCH(QString, name);
        name.replace(QLatin1String("<root>"), m_root->path());
        const QByteArray planted = "[config]\nindex=1\ntotal=1\n[macro]\n0=A    [Down]\n";
        QVERIFY(QDir().mkpath(folder()));
        for (const QString &f :
             {QStringLiteral("/modules/macro/escape.bin"), QStringLiteral("/modules/escape.bin"),
              QStringLiteral("/escape.bin"), QStringLiteral("/modules/macro/1/x.bin"),
              QStringLiteral("/in.mc")})
            QVERIFY(writeFile(m_root->path() + f, planted));
        const QStringList before = filesBelow(m_root->path());

        QVERIFY(!m_lib->saveMacroIni(name, {down("Z")}).toBool());
        QCOMPARE(m_lib->loadMacroIni(name), QStringList());
        QCOMPARE(m_lib->loadMacroIniConfig(name), QVariantList());
        m_lib->setMacroIniConfig(name, {5, 5});
        QVERIFY(!m_lib->deleteMacroIni(name).toBool());
        m_lib->renameMacroIniFile(name, QStringLiteral("taken"));
        if (qstrcmp(QTest::currentDataTag(), "missing") != 0)
            m_lib->renameMacroIniFile(QStringLiteral("x"), name); // no new name may lead out
        m_dialogs->fileAnswers << m_root->path() + QStringLiteral("/in.mc")
                               << m_root->path() + "/out.mc";
        m_lib->loadMacroIniFromFile(name);
        m_lib->saveMacroIniToFile(name);
        QCOMPARE(m_dialogs->count(QStringLiteral("save")), 0);
        m_lib->uploadToSlot(7, name);

        QCOMPARE(filesBelow(m_root->path()), before);
        for (const QString &f : before)
            QCOMPARE(bytesOf(f), planted);
        vmouse::Block empty{};
        empty[1] = 0x01;
        QCOMPARE(slot(7), empty);
    }

    // An imported file is read only when it is a regular file within the cap, and a slot
    // index outside the mouse's 0-99 is taken as none: 255 had wrapped to slot 0, 100-254
    // addressed slots the mouse does not have. Refusals name their reason (message k: "m<k>").
    void importChecksThePickedFile_data() {
        QTest::addColumn<QString>("kind"); // "file", "fifo", "folder", "device"
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("index"); // as read back after a taken import
        const auto withIndex = [](const char *index) {
            return QByteArray("[config]\nindex=") + index + "\ntotal=1\nrepeat=3\n[macro]\n0=A    [Down]\n";
        };
        QTest::newRow("slot 99") << "file" << withIndex("99") << "" << 99;
        QTest::newRow("no slot") << "file" << withIndex("-1") << "" << -1;
        QTest::newRow("slot 100") << "file" << withIndex("100") << "" << -1;
        QTest::newRow("slot 255") << "file" << withIndex("255") << "" << -1;
        QTest::newRow("slot x") << "file" << withIndex("x") << "" << -1;
        QTest::newRow("over the cap")
            << "file" << withIndex("1") + "; " + QByteArray(1024 * 1024, 'x') << "m13" << 0;
        QTest::newRow("fifo") << "fifo" << QByteArray() << "m12" << 0;
        QTest::newRow("folder") << "folder" << QByteArray() << "m12" << 0;
        QTest::newRow("device") << "device" << QByteArray() << "m12" << 0;
    }
    void importChecksThePickedFile() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, refusal);
        QFETCH(int, index);
        QStringList strings;
        for (int k = 0; k < 16; ++k)
            strings << QStringLiteral("m%1").arg(k);
        m_lib->setMessages([strings] { return strings; });
        const QString name = m_lib->createMacroIni().toString();
        const QByteArray before = bytesOf(fileOf(name));
        const QString picked = pickable(kind, m_root->path() + QStringLiteral("/picked.mc"), content);
        QVERIFY(!picked.isEmpty());
        m_dialogs->fileAnswers << picked;
        m_lib->loadMacroIniFromFile(name);
        if (!refusal.isEmpty()) {
            QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
            QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("m15"));
            QCOMPARE(m_dialogs->shown.last().text, refusal);
            QCOMPARE(bytesOf(fileOf(name)), before);
            return;
        }
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 0);
        QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{index, 3}));
        QCOMPARE(m_lib->loadMacroIni(name), QStringList{down("A")});
        const QByteArray tag = QTest::currentDataTag();
        if (tag == "slot 99" || tag == "no slot")
            QCOMPARE(bytesOf(fileOf(name)), content); // byte for byte when nothing is amiss
        // Saving uploads only to a slot the mouse has; nothing at all without one.
        QVERIFY(m_lib->saveMacroIni(name, {down("B")}).toBool());
        QCOMPARE(vmouse::commands().empty(), index == -1);
    }

    // A library file whose slot index names no slot of the mouse is read as having none.
    void storedIndexOutsideTheSlotsIsNone() {
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(writeFile(fileOf("old"), "[config]\nindex=255\ntotal=1\n[macro]\n0=A    [Down]\n"));
        QCOMPARE(m_lib->loadMacroIniConfig("old"), (QVariantList{-1, 1}));
        QVERIFY(m_lib->saveMacroIni("old", {down("B")}).toBool());
        QVERIFY(vmouse::commands().empty());
    }

    void exchangeFilesAndRename() {
        const QString name = m_lib->createMacroIni().toString();
        m_lib->setMacroIniConfig(name, {-1, 300});
        QVERIFY(m_lib->saveMacroIni(name, {down("A"), up(", <")}).toBool());
        const QByteArray original = bytesOf(fileOf(name));
        const QString exchange = m_root->path() + QStringLiteral("/mine.mc");
        QVERIFY(writeFile(exchange, "an older export"));

        m_dialogs->fileAnswers << exchange;
        m_lib->saveMacroIniToFile(name);
        QCOMPARE(bytesOf(exchange), original);
        QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("Save File"));
        QCOMPARE(m_dialogs->shown.last().filter, QStringLiteral("Macro(*.mc)"));
        QCOMPARE(QFileInfo(m_dialogs->shown.last().text).fileName(), name + QStringLiteral(".mc"));

        QVERIFY(m_lib->saveMacroIni(name, {down("Z")}).toBool());
        m_dialogs->fileAnswers << exchange;
        m_lib->loadMacroIniFromFile(name);
        QCOMPARE(bytesOf(fileOf(name)), original);
        QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("Open File"));

        // Neither a file that cannot be read nor the macro's own file costs the macro its contents.
        m_dialogs->fileAnswers << m_root->path() + QStringLiteral("/no such.mc") << fileOf(name)
                               << fileOf(name);
        m_lib->loadMacroIniFromFile(name);
        m_lib->loadMacroIniFromFile(name);
        m_lib->saveMacroIniToFile(name);
        QCOMPARE(bytesOf(fileOf(name)), original);

        // Importing onto a name deleted meanwhile copies nothing.
        const QString other = m_lib->createMacroIni().toString();
        QVERIFY(m_lib->deleteMacroIni(other).toBool());
        m_dialogs->fileAnswers << exchange;
        m_lib->loadMacroIniFromFile(other);
        QVERIFY(!QFile::exists(fileOf(other)));

        // A rename carries everything along and never replaces another macro.
        m_lib->renameMacroIniFile(name, QStringLiteral("renamed"));
        QCOMPARE(bytesOf(fileOf("renamed")), original);
        QVERIFY(writeFile(fileOf("other"), "x"));
        m_lib->renameMacroIniFile(QStringLiteral("renamed"), QStringLiteral("other"));
        QCOMPARE(bytesOf(fileOf("renamed")), original);
        QCOMPARE(bytesOf(fileOf("other")), QByteArray("x"));
        QCOMPARE(vmouse::commands().size(), size_t(0)); // none of this uploads
    }

    void uploads() {
        const QString name = m_lib->createMacroIni().toString();
        QVERIFY(m_lib->saveMacroIni(name, {down("A")}).toBool());
        QCOMPARE(vmouse::commands().size(), size_t(0)); // no slot, no upload

        m_lib->setMacroIniConfig(name, {4, 300});
        QVERIFY(m_lib->saveMacroIni(name, {down("A"), QStringLiteral("50   [Delay]"), up("A")})
                    .toBool());
        vmouse::Block expected{0x01, 0x2C, 0x05, 0x04, 0x81, 0x04};
        QCOMPARE(slot(5), expected);
        QCOMPARE(vmouse::commands().size(), size_t(1));
        QCOMPARE(m_dialogs->shown.size(), 0);

        // 63 records do not fit: the box is shown and the first 128 bytes are sent.
        QStringList lines;
        for (int i = 0; i < 63; ++i)
            lines << (i % 2 ? up("A") : down("A"));
        QVERIFY(m_lib->saveMacroIni(name, lines).toBool());
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("MACRO"));
        QCOMPARE(m_dialogs->shown[0].text,
                 QStringLiteral("Out of memory,\nsome command line has been cut."));
        QCOMPARE((QList<int>{slot(5)[0], slot(5)[126], slot(5)[127]}),
                 (QList<int>{0x01, 0x01, 0x04}));
        QCOMPARE(m_rig->link.takeNotice(), SendOutcome::Nothing);

        // A mouse that refuses the block: the file is saved, the upload is reported as failed,
        // both to the caller and in the notice owed, also for the upload a save started.
        vmouse::Faults refuse;
        refuse.failWrite = true;
        vmouse::setFaults(refuse);
        const vmouse::Block before = slot(5);
        QVERIFY(m_lib->saveMacroIni(name, {down("B"), up("B")}).toBool());
        QCOMPARE(m_rig->link.takeNotice(), SendOutcome::NotTaken);
        QVERIFY(!m_lib->uploadToSlot(5, name));
        QCOMPARE(m_rig->link.takeNotice(), SendOutcome::NotTaken);
        QCOMPARE(m_lib->loadMacroIni(name), (QStringList{down("B"), up("B")}));
        QCOMPARE(slot(5), before);
        QVERIFY(!MacroLibrary(nullptr, {}, folder()).uploadToSlot(5, name));
    }
};

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macro_library.moc"
