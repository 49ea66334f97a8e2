// Where the program keeps what it writes: per user when installed or the program folder is
// read-only. A copy in a folder its user can write keeps everything beside itself, which the
// build-tree packaging test proves on the running program.
#include "DataPaths.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class tst_data_paths : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString program, home; // each case's program folder, as the build stages it, and data home

    static void put(const QString &path, const QByteArray &bytes) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && writeFile(path, bytes));
    }

private Q_SLOTS:
    // Working files, their factory twins, a macro.
    void init() {
        program = dir.filePath(QTest::currentTestFunction()) + "/program";
        home = dir.filePath(QTest::currentTestFunction()) + "/data/q7config";
        for (const char *name : {"p_Q7.bin", "pD_Q7.bin"})
            put(program + "/modules/setting/" + name, "[common]\ncurProfile=0\n");
        for (const char *name : {"apConfig.bin", "apConfigD.bin"})
            put(program + "/modules/setting/" + name, "[common]\nname=Q7\n");
        put(program + "/modules/macro/1/Factory.bin", "[config]\nindex=-1\n");
    }

    void installedCopyIsSeededPerUserAndNeverWritesTheFactoryFiles() {
        // Until main() decides, the paths are today's relative ones.
        QCOMPARE(DataPaths::current().profileFile(), QString("./modules/setting/p_Q7.bin"));
        put(program + "/modules/" + DataPaths::installedMarker(), "");
        const DataPaths paths(program, home);
        QVERIFY(paths.perUser());
        QCOMPARE(paths.profileFile(), home + "/setting/p_Q7.bin");
        QCOMPARE(paths.macroFolder(), home + "/macro/1/");
        // Defaults are read where they were installed, so an upgrade's new factory values count.
        QCOMPARE(paths.profileDefaultsFile(), program + "/modules/setting/pD_Q7.bin");
        QCOMPARE(paths.apConfigDefaultsFile(), program + "/modules/setting/apConfigD.bin");
        QCOMPARE(paths.languageFolder(), program + "/modules/i18n/");

        QVERIFY(paths.seed());
        QCOMPARE(bytesOf(paths.profileFile()), bytesOf(program + "/modules/setting/p_Q7.bin"));
        QCOMPARE(bytesOf(paths.apConfigFile()), bytesOf(program + "/modules/setting/apConfig.bin"));
        QCOMPARE(bytesOf(paths.macroFolder() + "Factory.bin"), QByteArray("[config]\nindex=-1\n"));
        QCOMPARE(QFileInfo(home).permissions() & 0x0077, QFileDevice::Permissions());
        QVERIFY(QFileInfo(paths.profileFile()).isWritable());

        // The user's own files survive the next start; a deleted factory macro stays deleted.
        put(paths.profileFile(), "[common]\ncurProfile=4\n");
        QVERIFY(QFile::remove(paths.macroFolder() + "Factory.bin"));
        QVERIFY(DataPaths(program, home).seed());
        QCOMPARE(bytesOf(paths.profileFile()), QByteArray("[common]\ncurProfile=4\n"));
        QVERIFY(!QFileInfo::exists(paths.macroFolder() + "Factory.bin"));
        QCOMPARE(bytesOf(program + "/modules/setting/p_Q7.bin"),
                 QByteArray("[common]\ncurProfile=0\n"));

        // A lost working file is seeded again instead of starting from nothing.
        QVERIFY(QFile::remove(paths.apConfigFile()));
        QVERIFY(paths.seed());
        QCOMPARE(bytesOf(paths.apConfigFile()), QByteArray("[common]\nname=Q7\n"));

        // A data home whose place is taken by a file cannot be seeded, and says so.
        put(home + "-blocked", "");
        QVERIFY(!DataPaths(program, home + "-blocked/q7config").seed());
    }

    void unwritableProgramFolderGoesPerUser() {
        if (::geteuid() == 0)
            QSKIP("root writes any folder; the install test covers this as an unprivileged user");
        QFile::setPermissions(program + "/modules/setting", QFile::ReadOwner | QFile::ExeOwner);
        const bool perUser = DataPaths(program, home).perUser();
        QFile::setPermissions(program + "/modules/setting",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(perUser);
    }
};

QTEST_GUILESS_MAIN(tst_data_paths)
#include "tst_data_paths.moc"
