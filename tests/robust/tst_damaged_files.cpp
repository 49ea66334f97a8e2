// Files cut short and writes that fail. A configuration, profile file or language file cut
// short (a failed copy, a full disk under another program) still gives the window every value
// it draws with: what the file lacks comes from the factory copy or the English texts, and no
// file changes until the user saves. A write that fails (here: a file-size limit, as a full
// disk would) is reported to the caller and leaves the previous file byte for byte as it was,
// with no temporary left behind; a limit is used rather than a read-only folder because the
// tests may run as root, whom folder permissions do not stop.

#include "ApConfig.h"
#include "AtomicFile.h"
#include "KeyNames.h"
#include "Languages.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "StagedModules.h"
#include "TestFiles.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// While it lives, no file this process writes can grow past `bytes`.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write instead of a kill
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            qFatal("cannot set a file-size limit");
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

QStringList entries(const QString &dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray cutFile(const QString &path, qsizetype keep) {
    const QByteArray cut = bytesOf(path).left(keep);
    if (!writeFile(path, cut))
        qFatal("cannot cut %s", qPrintable(path));
    return cut;
}

QStringList texts(const QVariantList &values) { return QVariant(values).toStringList(); }

const QStringList productConstants = {"colorMaxStage", "effectEnable", "dpiBase", "dpiValue"};

} // namespace

class TestDamagedFiles : public QObject {
    Q_OBJECT
private slots:
    void cutConfigurationReadsTheRestFromTheFactoryFile() {
        StagedModules staged;
        const QString dir = QStringLiteral("modules/setting/");
        // Every colour, size and brightness option, the product constants and names.
        const auto everything = [&] {
            ApConfig config(dir);
            QStringList all = texts(config.loadApConfig());
            for (const QString &k : productConstants)
                all << config.productConstant(k).toStringList().join(',');
            return all + config.productNames();
        };
        const QStringList whole = everything(), options = texts(ApConfig(dir).loadApConfig());
        QCOMPARE(options.size(), 32);

        const QByteArray cut = cutFile(dir + "apConfig.bin", 100);
        QCOMPARE(everything(), whole);
        QCOMPARE(bytesOf(dir + "apConfig.bin"), cut);

        // Applying the settings page writes the whole list back.
        QVERIFY(ApConfig(dir).saveApConfig(QVariantList(options.begin(), options.end())));
        QCOMPARE(texts(ApConfig(dir).loadApConfig()), options);
        QVERIFY(bytesOf(dir + "apConfig.bin").size() > 100);
    }

    void cutProfileFileReadsTheRestFromTheDefaults() {
        StagedModules staged;
        const QString working = QStringLiteral("modules/setting/p_Q7.bin");
        const QString defaults = QStringLiteral("modules/setting/pD_Q7.bin");
        // Every list of every profile, and the pointer settings.
        const auto everything = [&] {
            ProfileStore store(working, defaults);
            store.loadAllProfiles();
            QList<QStringList> all;
            for (int p = 0; p < 6; ++p) {
                for (int g = ProfileStore::Firmware; g <= ProfileStore::Other; ++g)
                    all << texts(store.list(ProfileStore::Group(g), p));
                all << texts(store.pointerSettings(p));
            }
            return all;
        };
        const QList<QStringList> whole = everything();

        // Cut at a line end near the middle, so no value is left half-written.
        const QByteArray cut = cutFile(working, bytesOf(working).indexOf('\n', bytesOf(working).size() / 2) + 1);
        QCOMPARE(everything(), whole);
        QCOMPARE(bytesOf(working), cut);
    }

    void cutLanguageFileReadsTheRestInEnglish() {
        StagedModules staged;
        const QString dir = QStringLiteral("modules/i18n/");
        Languages languages(dir);
        const QStringList english = languages.getGlobalStrings("031000");
        const QStringList englishMessages = languages.msgStrings();
        const QStringList englishLayout = languages.productLayoutStrings("031000");
        const QStringList chinese = languages.getGlobalStrings("025044");
        QCOMPARE(chinese.size(), english.size());

        // Cut after string 60: the count and the first strings survive, the rest is gone.
        const QString file = dir + "lang_025044.ini";
        const QByteArray whole = bytesOf(file);
        const QByteArray cut = cutFile(file, whole.indexOf("\n61=") + 1);
        const QStringList read = languages.getGlobalStrings("025044");
        QCOMPARE(read.size(), english.size());
        QCOMPARE(read.mid(0, 61), chinese.mid(0, 61));
        QCOMPARE(read.mid(61), english.mid(61));
        QCOMPARE(languages.msgStrings(), englishMessages);
        QCOMPARE(languages.productLayoutStrings("025044"), englishLayout);
        for (const QString &s : read.mid(1, 114))
            QVERIFY(!s.isEmpty());
        QCOMPARE(bytesOf(file), cut);

        // A file that is not there at all still reads as empty.
        QCOMPARE(languages.getGlobalStrings("999000"), QStringList{QString()});
    }

    void helperKeepsTheOldFileWhenTheWriteFails() {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.bin");
        QVERIFY(atomicfile::write(path, "old content\n"));
        {
            FileSizeLimit limit(64);
            QVERIFY(!atomicfile::write(path, QByteArray(4096, 'x')));
            QVERIFY(!atomicfile::copy(QStringLiteral(":/nonexistent"), path));
        }
        QCOMPARE(bytesOf(path), QByteArray("old content\n"));
        QCOMPARE(entries(dir.path()), QStringList{"kept.bin"});

        // Copying a file onto itself is no change, not a loss.
        QVERIFY(atomicfile::copy(path, path));
        QCOMPARE(bytesOf(path), QByteArray("old content\n"));
    }

    void programFilesKeepTheirContentWhenTheDiskIsFull() {
        StagedModules staged;
        const QString setting = QStringLiteral("modules/setting/");
        const QString config = setting + "apConfig.bin", profile = setting + "p_Q7.bin";
        const QString exported = staged.path() + "/exported.pf";
        QVERIFY(QFile::copy(profile, exported));
        const QByteArray configBefore = bytesOf(config), profileBefore = bytesOf(profile),
                         exportBefore = bytesOf(exported);

        ApConfig apConfig(setting);
        ProfileStore store(profile, setting + "pD_Q7.bin");
        store.loadAllProfiles();
        QVariantList options = apConfig.loadApConfig();
        options[6] = QStringLiteral("file:/home/me/a new background.png");
        {
            FileSizeLimit limit(512); // smaller than any of these files
            QVERIFY(!apConfig.saveApConfig(options));
            QVERIFY(!apConfig.resetApconfig());
            QVERIFY(!store.exportProfile(2, exported));
            QCOMPARE(store.importProfile(3, exported), ProfileStore::ImportResult::WriteFailed);
            QVERIFY(!store.resetProfile(4));
        }
        QCOMPARE(bytesOf(config), configBefore);
        QCOMPARE(bytesOf(profile), profileBefore);
        QCOMPARE(bytesOf(exported), exportBefore);
        QCOMPARE(entries(setting), (QStringList{"apConfig.bin", "apConfigD.bin", "pD_Q7.bin", "p_Q7.bin"}));

        // With room again the same calls succeed.
        QVERIFY(apConfig.saveApConfig(options));
        QCOMPARE(apConfig.loadApConfig().at(6).toString(), options.at(6).toString());
        QVERIFY(store.exportProfile(2, exported));
    }

    void macroSaveReportsAFullDisk() {
        QTemporaryDir dir;
        MacroLibrary library(nullptr, buildKeyNameTable(), dir.path());
        const QString name = library.createMacroIni().toString();
        const QByteArray before = bytesOf(library.filePath(name));
        {
            FileSizeLimit limit(before.size() + 8);
            QVERIFY(!library.saveMacroIni(name, QStringList(50, "A    [Down]")).toBool());
        }
        QCOMPARE(bytesOf(library.filePath(name)), before);
        QVERIFY(library.saveMacroIni(name, QStringList(50, "A    [Down]")).toBool());
    }

    // A link planted in place of a data file (a copy of the program in a folder others can
    // write) must not make the program overwrite the file it points to.
    void linksInPlaceOfDataFilesAreNotWrittenThrough() {
        QTemporaryDir dir;
        const QString victim = dir.filePath("victim");
        QVERIFY(atomicfile::write(victim, "someone else's\n"));
        auto plant = [&](const QString &path) { return QFile::link(victim, path); };

        QVERIFY(plant(dir.filePath("link.bin")));
        QVERIFY(!atomicfile::write(dir.filePath("link.bin"), "x"));
        QVERIFY(atomicfile::write(dir.filePath("source"), "mine\n"));
        QVERIFY(!atomicfile::copy(dir.filePath("source"), dir.filePath("link.bin")));

        StagedModules staged;
        const QString profile = staged.path() + "/modules/setting/p_Q7.bin";
        ProfileStore store(profile, staged.path() + "/modules/setting/pD_Q7.bin");
        store.loadAllProfiles();
        QVERIFY(QFile::remove(profile) && plant(profile));
        QVERIFY(!store.resetProfile(1));

        MacroLibrary library(nullptr, buildKeyNameTable(), dir.filePath("macros"));
        QVERIFY(QDir().mkpath(dir.filePath("macros")) &&
                plant(library.filePath("Macro. 001")));
        QCOMPARE(library.createMacroIni().toString(), QStringLiteral("Macro. 002"));
        QVERIFY(!library.saveMacroIni("Macro. 001", {"A    [Down]"}).toBool());
        QCOMPARE(bytesOf(victim), QByteArray("someone else's\n"));
    }
};

QTEST_GUILESS_MAIN(TestDamagedFiles)
#include "tst_damaged_files.moc"
