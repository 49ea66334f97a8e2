#include "IniFormat.h"
#include "MS_HT66FB560.h"
#include "MacroLibrary.h"
#include "KeyNames.h"
#include "ScriptedDialogs.h"
#include "VirtualMouse.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString press(const QString &key) { return key + MacroTag::down; }
QString release(const QString &key) { return key + MacroTag::up; }
QString pause(int ms) { return QString::number(ms) + MacroTag::delay; }

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// Every file below root, relative to it, sorted.
QStringList filesBelow(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

class TestMacroLibrary : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newMacrosTakeTheFirstFreeNumber();
    void firstMacroCreatesTheFolder();
    void namesAreListedCaseInsensitively();
    void linesRoundTrip();
    void savingReplacesAllLines();
    void missingMacroIsLeftAlone();
    void configDefaultsAndShortLists();
    void damagedLineCountIsBounded();
    void hostileNamesStayInsideTheLibrary_data();
    void hostileNamesStayInsideTheLibrary();
    void renameKeepsContentsAndNeverOverwrites();
    void exportThenImportRoundTrips();
    void importOntoDeletedNameCopiesNothing();
    void failedImportOrSelfCopyKeepsTheMacro();
    void arrowNamesAreStoredEscaped();

    void savingAMacroWithASlotUploadsIt();
    void savingAMacroWithoutASlotSendsNothing();
    void overflowIsReportedAndCut();
    void missingMacroUploadsAnEmptyBlock();

private:
    QString folder() const { return m_root->path() + QStringLiteral("/modules/macro/1/"); }
    QString fileOf(const QString &name) const { return folder() + name + QStringLiteral(".bin"); }
    void writeMacro(const QString &name, int index, int repeat, const QStringList &lines);
    vmouse::Block slot(int n) const { return vmouse::state().macros[size_t(n - 1)]; }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<MS_HT66FB560> m_device;
    std::unique_ptr<MacroLibrary> m_lib;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TestMacroLibrary::init()
{
    vmouse::reset();
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QVERIFY(QDir().mkpath(folder()));
    m_device = std::make_unique<MS_HT66FB560>();
    DeviceBinding binding;
    binding.entryIndex = 1;
    binding.commandPath = QString::fromLatin1(vmouse::commandPath);
    binding.reportLength = 64;
    m_device->bindDevice(binding);
    vmouse::clearLog();
    m_lib = std::make_unique<MacroLibrary>(m_device.get(), buildKeyNameTable(), folder());
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TestMacroLibrary::cleanup()
{
    m_dialogs.reset();
    m_lib.reset();
    m_device.reset();
    m_root.reset();
}

void TestMacroLibrary::writeMacro(const QString &name, int index, int repeat, const QStringList &lines)
{
    QSettings file(fileOf(name), qt48IniFormat());
    file.setValue(QStringLiteral("config/index"), index);
    file.setValue(QStringLiteral("config/repeat"), repeat);
    file.setValue(QStringLiteral("config/total"), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        file.setValue(QStringLiteral("macro/") + QString::number(i), lines[i]);
}

void TestMacroLibrary::newMacrosTakeTheFirstFreeNumber()
{
    QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 001"));
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("Macro. 001")), (QVariantList{-1, 1}));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Macro. 001")), QStringList());
    {
        QSettings file(fileOf(QStringLiteral("Macro. 001")), qt48IniFormat());
        QCOMPARE(file.value(QStringLiteral("config/total")).toInt(), 0);
        QVERIFY(!file.childGroups().contains(QStringLiteral("macro")));
    }

    QVERIFY(writeFile(fileOf(QStringLiteral("Macro. 003")), "[config]\n"));
    QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 002"));
    QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 004"));

    // A number freed by deleting is used again first.
    QVERIFY(m_lib->deleteMacroIni(QStringLiteral("Macro. 002")).toBool());
    QVERIFY(!m_lib->deleteMacroIni(QStringLiteral("Macro. 002")).toBool());
    QCOMPARE(m_lib->createMacroIni().toString(), QStringLiteral("Macro. 002"));
}

void TestMacroLibrary::firstMacroCreatesTheFolder()
{
    const QString fresh = m_root->path() + QStringLiteral("/fresh/modules/macro/1/");
    MacroLibrary lib(nullptr, buildKeyNameTable(), fresh);
    QCOMPARE(lib.getMacroIniNames(), QStringList());
    QCOMPARE(lib.createMacroIni().toString(), QStringLiteral("Macro. 001"));
    QVERIFY(QFileInfo(fresh + QStringLiteral("Macro. 001.bin")).isFile());
    QCOMPARE(lib.getMacroIniNames(), QStringList{QStringLiteral("Macro. 001.bin")});
}

void TestMacroLibrary::namesAreListedCaseInsensitively()
{
    for (const char *name : {"b.bin", "A.bin", "C.BIN", "notes.txt", "d.bin.part", ".dot.bin", ".bin"})
        QVERIFY(writeFile(folder() + QLatin1String(name), "x"));
    QVERIFY(QDir(folder()).mkdir(QStringLiteral("folder.bin")));
    // A name beginning with a dot is still a macro; ".bin" alone names none.
    QCOMPARE(m_lib->getMacroIniNames(),
             (QStringList{QStringLiteral(".dot.bin"), QStringLiteral("A.bin"), QStringLiteral("b.bin")}));
}

void TestMacroLibrary::linesRoundTrip()
{
    const QString name = m_lib->createMacroIni().toString();
    // Names with the characters an INI file treats specially, blanks at either end, and
    // the arrows outside ASCII.
    const QStringList lines{press(QStringLiteral(", <")),  release(QStringLiteral("; :")),
                            press(QStringLiteral("' \"")), release(QStringLiteral("\\ |")),
                            press(QStringLiteral("= +")),  press(QStringLiteral("KP 7 ")),
                            press(QString(QChar(0x25BA))), release(QString(QChar(0x25B2))),
                            press(QStringLiteral("[ {")),  pause(1000),
                            QStringLiteral(" odd line ")};
    QVERIFY(m_lib->saveMacroIni(name, lines).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), lines);
}

void TestMacroLibrary::savingReplacesAllLines()
{
    const QString name = m_lib->createMacroIni().toString();
    m_lib->setMacroIniConfig(name, {-1, 7});
    QVERIFY(m_lib->saveMacroIni(name, {press("A"), release("A"), pause(40)}).toBool());
    QVERIFY(m_lib->saveMacroIni(name, {press("B")}).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), QStringList{press("B")});
    QVERIFY(m_lib->saveMacroIni(name, {}).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), QStringList());

    QSettings file(fileOf(name), qt48IniFormat());
    QCOMPARE(file.value(QStringLiteral("config/total")).toInt(), 0);
    QVERIFY(!file.childGroups().contains(QStringLiteral("macro")));
    // Saving lines leaves the slot and play count alone.
    QCOMPARE(m_lib->loadMacroIniConfig(name), (QVariantList{-1, 7}));
}

void TestMacroLibrary::missingMacroIsLeftAlone()
{
    const QString name = QStringLiteral("gone");
    QVERIFY(!m_lib->saveMacroIni(name, {press("A")}).toBool());
    m_lib->setMacroIniConfig(name, {3, 2});
    QCOMPARE(m_lib->loadMacroIni(name), QStringList());
    QCOMPARE(m_lib->loadMacroIniConfig(name), QVariantList());
    QVERIFY(!m_lib->deleteMacroIni(name).toBool());
    m_lib->saveMacroIniToFile(name);
    QCOMPARE(m_dialogs->shown.size(), 0);
    QCOMPARE(filesBelow(m_root->path()), QStringList());
}

void TestMacroLibrary::configDefaultsAndShortLists()
{
    QVERIFY(writeFile(fileOf(QStringLiteral("old")), "[config]\nindex=4\ntotal=3\n[macro]\n0=A    [Down]\n"));
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("old")), (QVariantList{4, 1}));
    // Lines missing below the total read as "0", which no tag matches.
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("old")),
             (QStringList{press("A"), QStringLiteral("0"), QStringLiteral("0")}));

    // Values are stored as given; a list that lacks one of the two changes nothing.
    m_lib->setMacroIniConfig(QStringLiteral("old"), {9, 65535});
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("old")), (QVariantList{9, 65535}));
    m_lib->setMacroIniConfig(QStringLiteral("old"), {2});
    m_lib->setMacroIniConfig(QStringLiteral("old"), {});
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("old")), (QVariantList{9, 65535}));
}

void TestMacroLibrary::damagedLineCountIsBounded()
{
    QVERIFY(writeFile(fileOf(QStringLiteral("huge")), "[config]\ntotal=2000000000\n"));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("huge")).size(), MacroLibrary::maxLines);
    QVERIFY(writeFile(fileOf(QStringLiteral("neg")), "[config]\ntotal=-5\n"));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("neg")), QStringList());
}

void TestMacroLibrary::hostileNamesStayInsideTheLibrary_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("parent") << QStringLiteral("../escape");
    QTest::newRow("two up") << QStringLiteral("../../escape");
    QTest::newRow("backslash parent") << QStringLiteral("..\\escape");
    QTest::newRow("subfolder") << QStringLiteral("sub/escape");
    QTest::newRow("absolute") << QStringLiteral("<root>/escape");
    QTest::newRow("nul") << QString::fromUtf16(u"Macro. 001\0/../../escape", 24);
}

void TestMacroLibrary::hostileNamesStayInsideTheLibrary()
{
    QFETCH(QString, name);
    name.replace(QLatin1String("<root>"), m_root->path());
    // Files a hostile name would reach, planted so that deleting, renaming or overwriting
    // them shows.
    const QByteArray planted = "[config]\nindex=1\ntotal=1\n[macro]\n0=A    [Down]\n";
    QVERIFY(writeFile(m_root->path() + QStringLiteral("/modules/macro/escape.bin"), planted));
    QVERIFY(writeFile(m_root->path() + QStringLiteral("/modules/escape.bin"), planted));
    QVERIFY(writeFile(m_root->path() + QStringLiteral("/escape.bin"), planted));
    QVERIFY(writeFile(fileOf(QStringLiteral("Macro. 001")), planted));
    QVERIFY(writeFile(m_root->path() + QStringLiteral("/import.mc"), planted + "1=B    [Down]\n"));
    const QStringList before = filesBelow(m_root->path());

    QVERIFY(m_lib->filePath(name).isEmpty());
    QVERIFY(!m_lib->saveMacroIni(name, {press("Z")}).toBool());
    QCOMPARE(m_lib->loadMacroIni(name), QStringList());
    QCOMPARE(m_lib->loadMacroIniConfig(name), QVariantList());
    m_lib->setMacroIniConfig(name, {5, 5});
    QVERIFY(!m_lib->deleteMacroIni(name).toBool());
    m_lib->renameMacroIniFile(name, QStringLiteral("taken"));
    m_lib->renameMacroIniFile(QStringLiteral("Macro. 001"), name);
    m_dialogs->fileAnswers.enqueue(m_root->path() + QStringLiteral("/import.mc"));
    m_lib->loadMacroIniFromFile(name);
    m_dialogs->fileAnswers.enqueue(m_root->path() + QStringLiteral("/export.mc"));
    m_lib->saveMacroIniToFile(name);
    m_lib->q7_0FH_SetMacroKey(7, name);

    QCOMPARE(filesBelow(m_root->path()), before);
    for (const QString &f : before) {
        if (f.endsWith(QLatin1String(".bin")))
            QCOMPARE(readAll(m_root->path() + QLatin1Char('/') + f), planted);
    }
    // A refused name uploads as a missing macro would: an empty block.
    vmouse::Block empty{};
    empty[1] = 0x01;
    QCOMPARE(slot(7), empty);
}

void TestMacroLibrary::renameKeepsContentsAndNeverOverwrites()
{
    writeMacro(QStringLiteral("first"), 3, 2, {press("A")});
    writeMacro(QStringLiteral("second"), -1, 1, {press("B")});
    m_lib->renameMacroIniFile(QStringLiteral("first"), QStringLiteral("renamed"));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("renamed")), QStringList{press("A")});
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("renamed")), (QVariantList{3, 2}));
    QVERIFY(!QFile::exists(fileOf(QStringLiteral("first"))));

    m_lib->renameMacroIniFile(QStringLiteral("renamed"), QStringLiteral("second"));
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("second")), QStringList{press("B")});
    QCOMPARE(m_lib->loadMacroIni(QStringLiteral("renamed")), QStringList{press("A")});
}

void TestMacroLibrary::exportThenImportRoundTrips()
{
    writeMacro(QStringLiteral("mine"), 4, 300, {press("A"), pause(20), release(", <")});
    const QByteArray original = readAll(fileOf(QStringLiteral("mine")));
    const QString exchange = m_root->path() + QStringLiteral("/out/mine.mc");
    QVERIFY(QDir().mkpath(m_root->path() + QStringLiteral("/out")));
    QVERIFY(writeFile(exchange, "older export"));

    m_dialogs->fileAnswers.enqueue(exchange);
    m_lib->saveMacroIniToFile(QStringLiteral("mine"));
    QCOMPARE(readAll(exchange), original);
    QCOMPARE(m_dialogs->shown.last().kind, QStringLiteral("save"));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("Save File"));
    QCOMPARE(m_dialogs->shown.last().filter, QStringLiteral("Macro(*.mc)"));

    QVERIFY(m_lib->saveMacroIni(QStringLiteral("mine"), {press("Z")}).toBool());
    m_dialogs->fileAnswers.enqueue(exchange);
    m_lib->loadMacroIniFromFile(QStringLiteral("mine"));
    QCOMPARE(readAll(fileOf(QStringLiteral("mine"))), original);
    QCOMPARE(m_lib->loadMacroIniConfig(QStringLiteral("mine")), (QVariantList{4, 300}));
    QCOMPARE(m_dialogs->shown.last().title, QStringLiteral("Open File"));
    QCOMPARE(m_dialogs->shown.last().filter, QStringLiteral("Macro(*.mc)"));

    // Cancelling changes nothing.
    m_lib->loadMacroIniFromFile(QStringLiteral("mine"));
    m_lib->saveMacroIniToFile(QStringLiteral("mine"));
    QCOMPARE(readAll(fileOf(QStringLiteral("mine"))), original);
    // Nothing is uploaded by an import.
    QVERIFY(vmouse::commands().size() == 1); // the re-upload of the save above
}

void TestMacroLibrary::importOntoDeletedNameCopiesNothing()
{
    const QString exchange = m_root->path() + QStringLiteral("/in.mc");
    QVERIFY(writeFile(exchange, "[config]\nindex=-1\n"));
    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->deleteMacroIni(name).toBool());
    m_dialogs->fileAnswers.enqueue(exchange);
    m_lib->loadMacroIniFromFile(name);
    QCOMPARE(m_dialogs->count(QStringLiteral("open")), 1);
    QVERIFY(!QFile::exists(fileOf(name)));
}

void TestMacroLibrary::failedImportOrSelfCopyKeepsTheMacro()
{
    writeMacro(QStringLiteral("keep"), -1, 1, {press("A")});
    const QByteArray original = readAll(fileOf(QStringLiteral("keep")));

    m_dialogs->fileAnswers.enqueue(m_root->path() + QStringLiteral("/no such file.mc"));
    m_lib->loadMacroIniFromFile(QStringLiteral("keep"));
    QCOMPARE(readAll(fileOf(QStringLiteral("keep"))), original);

    m_dialogs->fileAnswers.enqueue(fileOf(QStringLiteral("keep")));
    m_lib->loadMacroIniFromFile(QStringLiteral("keep"));
    QCOMPARE(readAll(fileOf(QStringLiteral("keep"))), original);

    m_dialogs->fileAnswers.enqueue(fileOf(QStringLiteral("keep")));
    m_lib->saveMacroIniToFile(QStringLiteral("keep"));
    QCOMPARE(readAll(fileOf(QStringLiteral("keep"))), original);

    // An export that cannot be written leaves no half file in the library either.
    m_dialogs->fileAnswers.enqueue(m_root->path() + QStringLiteral("/missing/folder/x.mc"));
    m_lib->saveMacroIniToFile(QStringLiteral("keep"));
    QCOMPARE(m_lib->getMacroIniNames(), QStringList{QStringLiteral("keep.bin")});
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestMacroLibrary::arrowNamesAreStoredEscaped()
{
    if (qt48IniFormat() == QSettings::IniFormat)
        QSKIP("the Qt 4.8 settings writer is not in this build yet");
    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(name, {press(QString(QChar(0x25BA))), release(QString(QChar(0x25C4))),
                                       press(QString(QChar(0x25BC))), release(QString(QChar(0x25B2)))})
                .toBool());
    const QByteArray text = readAll(fileOf(name));
    for (const char *escaped : {"\\x25ba", "\\x25c4", "\\x25bc", "\\x25b2"})
        QVERIFY2(text.contains(escaped), text.constData());
    for (const char c : text)
        QVERIFY(uchar(c) < 0x80);
}

void TestMacroLibrary::savingAMacroWithASlotUploadsIt()
{
    writeMacro(QStringLiteral("slotted"), 4, 300, {});
    const QStringList lines{press("A"), pause(50), release("A"), pause(2000), press("A"), release("A")};
    QVERIFY(m_lib->saveMacroIni(QStringLiteral("slotted"), lines).toBool());

    vmouse::Block expected{};
    const unsigned char bytes[] = {0x01, 0x2C, 0x05, 0x04, 0x81, 0x04, 0x64, 0x01, 0x01, 0x04, 0x81, 0x04};
    std::copy(std::begin(bytes), std::end(bytes), expected.begin());
    QCOMPARE(slot(5), expected);
    QCOMPARE(slot(4), vmouse::Block{});
    QCOMPARE(slot(6), vmouse::Block{});
    const auto commands = vmouse::commands();
    QCOMPARE(int(commands.size()), 1);
    QCOMPARE(commands[0][1], 0x0F);
    QCOMPARE(commands[0][2], 0x05);
}

void TestMacroLibrary::savingAMacroWithoutASlotSendsNothing()
{
    const QString name = m_lib->createMacroIni().toString();
    QVERIFY(m_lib->saveMacroIni(name, {press("A")}).toBool());
    QCOMPARE(int(vmouse::commands().size()), 0);
}

void TestMacroLibrary::overflowIsReportedAndCut()
{
    QStringList lines;
    for (int i = 0; i < 31; ++i)
        lines << press("A") << release("A");
    lines << press("B");
    writeMacro(QStringLiteral("long"), -1, 1, lines);
    m_lib->q7_0FH_SetMacroKey(100, QStringLiteral("long"));

    QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("MACRO"));
    QCOMPARE(m_dialogs->shown[0].text, QStringLiteral("Out of memory,\nsome command line has been cut."));
    const vmouse::Block sent = slot(100);
    QCOMPARE(sent[0], 0x00);
    QCOMPARE(sent[1], 0x01);
    for (int i = 2; i < 126; i += 2) {
        QCOMPARE(sent[size_t(i)], (i / 2) % 2 ? 0x01 : 0x81);
        QCOMPARE(sent[size_t(i + 1)], 0x04);
    }
    // The 63rd record fills the block; its end mark is what was cut.
    QCOMPARE(sent[126], 0x01);
    QCOMPARE(sent[127], 0x05);

    // One record less fits with its end mark and raises nothing.
    lines.removeLast();
    writeMacro(QStringLiteral("fits"), -1, 1, lines);
    m_lib->q7_0FH_SetMacroKey(99, QStringLiteral("fits"));
    QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
    QCOMPARE(slot(99)[126], 0x00);
    QCOMPARE(slot(99)[125], 0x04);
}

void TestMacroLibrary::missingMacroUploadsAnEmptyBlock()
{
    // Poison the slot so the upload must overwrite it.
    vmouse::State s = vmouse::state();
    s.macros[2].fill(0xAB);
    vmouse::setState(s);
    m_lib->q7_0FH_SetMacroKey(3, QStringLiteral("never made"));
    vmouse::Block expected{};
    expected[1] = 0x01;
    QCOMPARE(slot(3), expected);
    QCOMPARE(m_dialogs->shown.size(), 0);
}

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macro_library.moc"
