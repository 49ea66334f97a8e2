// A write that fails (here: a file-size limit, as a full disk would) is reported to the
// caller and leaves the previous file byte for byte as it was, with no temporary left behind.
// A limit is used rather than a read-only folder because the tests may run as root, whom
// folder permissions do not stop.

#include "ApConfig.h"
#include "AtomicFile.h"
#include "IniFormat.h"
#include "KeyNames.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "StagedModules.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
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

} // namespace

class TestAtomicWrite : public QObject {
    Q_OBJECT
private slots:
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
            QVERIFY(!store.q7_resetProfile(4));
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
};

QTEST_GUILESS_MAIN(TestAtomicWrite)
#include "tst_atomic_write.moc"
