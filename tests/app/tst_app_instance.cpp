// The real program as a process: single instance per program file, and the program
// folder as working directory whatever the caller's.
#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

class tst_app_instance : public QObject {
    Q_OBJECT

    // A private copy of the program, so parallel tests and a running user copy do not meet.
    static QString installCopy(const QTemporaryDir &dir) {
        const QString built = qEnvironmentVariable("Q7_BUILD_BIN") + "/q7config";
        const QString copy = dir.filePath("q7config");
        if (!QFile::copy(built, copy))
            return {};
        QFile::setPermissions(copy, QFile::permissions(built));
        QDir(dir.path()).mkpath("modules/setting");
        return copy;
    }

    static void start(QProcess &p, const QString &program, const QString &workingDir) {
        p.setWorkingDirectory(workingDir);
        p.setProgram(program);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start();
        QVERIFY(p.waitForStarted());
    }

    // The program is up once it holds its lock and has moved into its own folder, which it
    // does right after taking the lock and before it builds its window.
    static bool settled(QProcess &p) {
        const QString program = QFileInfo(p.program()).canonicalFilePath();
        QLockFile lock(SingleInstance::channelBase(program) + QStringLiteral(".lock"));
        return QTest::qWaitFor(
                   [&] {
                       qint64 holder = 0;
                       return lock.getLockInfo(&holder, nullptr, nullptr) &&
                              holder == p.processId() &&
                              cwdOf(p) == QFileInfo(program).canonicalPath();
                   },
                   20000) &&
               p.state() == QProcess::Running;
    }

    static QString cwdOf(const QProcess &p) {
        return QFileInfo(QString("/proc/%1/cwd").arg(p.processId())).symLinkTarget();
    }

    static void stop(QProcess &p) {
        p.kill(); // nothing when it has ended already
        p.waitForFinished();
    }

private Q_SLOTS:
    void secondCopyExitsWithOneAndFirstRunsOn() {
        QTemporaryDir dir;
        const QString program = installCopy(dir);
        QVERIFY(!program.isEmpty());

        QProcess first;
        start(first, program, QDir::tempPath());
        QVERIFY(settled(first));
        // Started from elsewhere, it works in its own folder.
        QCOMPARE(cwdOf(first), QFileInfo(dir.path()).canonicalFilePath());

        QProcess second;
        start(second, program, dir.path());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(first.state(), QProcess::Running);

        // A copy killed without a chance to clean up must not lock out the next start.
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        QProcess third;
        start(third, program, QDir::homePath());
        QVERIFY(settled(third));

        // A copy in another folder does not see this one.
        QTemporaryDir elsewhere;
        QProcess other;
        start(other, installCopy(elsewhere), elsewhere.path());
        QVERIFY(settled(other));
        stop(third);
        stop(other);
    }

    // Without a runtime folder the lock goes to a folder of the user's own; one that someone
    // else made first (or anyone may enter) is refused with a reason, never a silent exit 1.
    void aRuntimeFolderOthersCanReachIsRefusedAloud() {
        QTemporaryDir dir;
        const QString program = installCopy(dir);
        const QString cache = dir.filePath("cache");
        const QString planted = cache + "/q7config-runtime";
        QVERIFY(QDir().mkpath(planted));
        if (::getuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(planted).constData(), 65534, 65534), 0); // nobody
        else
            QVERIFY(QFile::setPermissions(planted, QFile::permissions(planted) | QFile::ReadOther |
                                                       QFile::ExeOther | QFile::WriteOther));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.insert("XDG_CACHE_HOME", cache);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, {});
        QVERIFY(p.waitForStarted());
        QByteArray said;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         said += p.readAllStandardError();
                         return said.contains("cannot start") ||
                                p.state() == QProcess::NotRunning;
                     },
                     20000),
                 said.constData());
        QVERIFY2(said.contains(QFile::encodeName(planted)), said.constData());
        // Up with its box, or gone with code 2 once it is answered: not 1.
        QVERIFY(p.state() == QProcess::Running || p.exitCode() == 2);
        stop(p);
        QVERIFY(!QFileInfo::exists(planted + "/" + SingleInstance::identity(program) + ".lock"));
    }
};

QTEST_GUILESS_MAIN(tst_app_instance)
#include "tst_app_instance.moc"
