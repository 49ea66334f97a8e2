// Where the program keeps what it writes: beside itself when it can, per user when installed.
#include "DataPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class tst_data_paths : public QObject {
    Q_OBJECT

    static void write(const QString &path, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A program folder as the build stages it: working files, their factory twins, a macro.
    static QString programFolder(const QTemporaryDir &dir) {
        const QString program = dir.filePath("program");
        write(program + "/modules/setting/p_Q7.bin", "[common]\ncurProfile=0\n");
        write(program + "/modules/setting/pD_Q7.bin", "[common]\ncurProfile=0\n");
        write(program + "/modules/setting/apConfig.bin", "[common]\nname=Q7\n");
        write(program + "/modules/setting/apConfigD.bin", "[common]\nname=Q7\n");
        write(program + "/modules/macro/1/Factory.bin", "[config]\nindex=-1\n");
        return program;
    }

private Q_SLOTS:
    void writableProgramFolderKeepsEverythingBesideTheProgram() {
        QTemporaryDir dir;
        const QString program = programFolder(dir);
        const QString home = dir.filePath("data/q7config");
        const DataPaths paths(program, home);

        QVERIFY(!paths.perUser());
        QCOMPARE(paths.profileFile(), program + "/modules/setting/p_Q7.bin");
        QCOMPARE(paths.apConfigFile(), program + "/modules/setting/apConfig.bin");
        QCOMPARE(paths.apConfigDefaultsFile(), program + "/modules/setting/apConfigD.bin");
        QCOMPARE(paths.macroFolder(), program + "/modules/macro/1/");
        QVERIFY(paths.seed());
        QVERIFY(!QFileInfo::exists(home));

        // Until main() decides, the paths are today's relative ones.
        QCOMPARE(DataPaths::current().profileFile(), QString("./modules/setting/p_Q7.bin"));
    }

    void installedCopyIsSeededPerUserAndNeverWritesTheFactoryFiles() {
        QTemporaryDir dir;
        const QString program = programFolder(dir);
        write(program + "/modules/" + DataPaths::installedMarker(), "");
        const QString home = dir.filePath("data/q7config");
        const DataPaths paths(program, home);

        QVERIFY(paths.perUser());
        QCOMPARE(paths.profileFile(), home + "/setting/p_Q7.bin");
        QCOMPARE(paths.macroFolder(), home + "/macro/1/");
        // Defaults are read where they were installed, so an upgrade's new factory values count.
        QCOMPARE(paths.profileDefaultsFile(), program + "/modules/setting/pD_Q7.bin");
        QCOMPARE(paths.apConfigDefaultsFile(), program + "/modules/setting/apConfigD.bin");
        QCOMPARE(paths.languageFolder(), program + "/modules/i18n/");

        QVERIFY(paths.seed());
        QCOMPARE(read(paths.profileFile()), read(program + "/modules/setting/p_Q7.bin"));
        QCOMPARE(read(paths.apConfigFile()), read(program + "/modules/setting/apConfig.bin"));
        QCOMPARE(read(paths.macroFolder() + "Factory.bin"), QByteArray("[config]\nindex=-1\n"));
        QCOMPARE(QFileInfo(home).permissions() & 0x0077, QFileDevice::Permissions());
        QVERIFY(QFileInfo(paths.profileFile()).isWritable());

        // The user's own files survive the next start; a deleted factory macro stays deleted.
        write(paths.profileFile(), "[common]\ncurProfile=4\n");
        QVERIFY(QFile::remove(paths.macroFolder() + "Factory.bin"));
        QVERIFY(DataPaths(program, home).seed());
        QCOMPARE(read(paths.profileFile()), QByteArray("[common]\ncurProfile=4\n"));
        QVERIFY(!QFileInfo::exists(paths.macroFolder() + "Factory.bin"));
        QCOMPARE(read(program + "/modules/setting/p_Q7.bin"),
                 QByteArray("[common]\ncurProfile=0\n"));

        // A lost working file is seeded again instead of starting from nothing.
        QVERIFY(QFile::remove(paths.apConfigFile()));
        QVERIFY(paths.seed());
        QCOMPARE(read(paths.apConfigFile()), QByteArray("[common]\nname=Q7\n"));
    }

    void unwritableProgramFolderGoesPerUser() {
        if (::geteuid() == 0)
            QSKIP("root writes any folder; the install test covers this as an unprivileged user");
        QTemporaryDir dir;
        const QString program = programFolder(dir);
        QFile::setPermissions(program + "/modules/setting", QFile::ReadOwner | QFile::ExeOwner);
        const bool perUser = DataPaths(program, dir.filePath("data")).perUser();
        QFile::setPermissions(program + "/modules/setting",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(perUser);
    }

    void seedingFailureIsReported() {
        QTemporaryDir dir;
        const QString program = programFolder(dir);
        write(program + "/modules/" + DataPaths::installedMarker(), "");
        // The data home's place is taken by a file: nothing can be created below it.
        write(dir.filePath("blocked"), "");
        QVERIFY(!DataPaths(program, dir.filePath("blocked/q7config")).seed());
    }

    void exchangeFolderExistsAlways() {
        QTemporaryDir dir;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        const QString withoutDocuments = DataPaths::exchangeFolder();
        QDir(dir.path()).mkpath("Documents");
        const QString withDocuments = DataPaths::exchangeFolder();
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(withoutDocuments, dir.path());
        QCOMPARE(withDocuments, dir.filePath("Documents"));
    }
};

QTEST_GUILESS_MAIN(tst_data_paths)
#include "tst_data_paths.moc"
