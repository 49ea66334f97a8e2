// Warning messages to the running copy over the local socket, sent by the command-line tool or
// by hand-made frames.
#include "CopyDataFrame.h"
#include "InputHooks.h"
#include "LocalCopyDataServer.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <QtTest>

namespace {
// What the window registers.
void onCopyData(const CopyDataMessage *data, void *context) {
    showCopyDataWarning(data, static_cast<QWidget *>(context));
}

// Runs the sender against this test program (it plays the running copy) while the event
// loop keeps serving the socket.
int sendWithTool(const QStringList &arguments) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(qEnvironmentVariable("Q7_BUILD_BIN") + "/q7warnmsg",
               QStringList{"--program", QCoreApplication::applicationFilePath()} + arguments);
    if (!tool.waitForStarted(10000))
        return -1;
    QElapsedTimer guard;
    guard.start();
    while (tool.state() != QProcess::NotRunning && guard.elapsed() < 20000)
        QTest::qWait(10);
    return tool.state() == QProcess::NotRunning ? tool.exitCode() : -2;
}
} // namespace

class CopyDataTest : public QObject {
    Q_OBJECT
    QWidget window;
    ScriptedDialogs *dialogs = nullptr;
    LocalCopyDataServer *server = nullptr;

private Q_SLOTS:
    void initTestCase() {
        window.setWindowTitle(QStringLiteral("Mouse Config"));
        InputHooks::setCopyDataCallback(onCopyData, qApp, &window);
        server = qApp->findChild<LocalCopyDataServer *>();
        QVERIFY(server);
        QVERIFY(server->isListening());
    }
    void init() { dialogs = new ScriptedDialogs; }
    void cleanup() {
        delete dialogs;
        dialogs = nullptr;
    }

    void socketIsPrivateToTheUser() {
        const QFile::Permissions p = QFile::permissions(server->fullServerName());
        QVERIFY(p & QFile::WriteOwner);
        QVERIFY(!(p & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadGroup | QFile::ReadOther)));
    }

    void toolShowsOneBoxWithTheWindowTitle() {
        QCOMPARE(sendWithTool({QStringLiteral("Gerät getrennt ✓")}), 0);
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].kind, QStringLiteral("warning"));
        QCOMPARE(dialogs->shown[0].title, QStringLiteral("Mouse Config"));
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Gerät getrennt ✓"));
    }

    // Both are taken off the socket and ignored; a box would have appeared by the time the
    // well-formed message sent after them shows.
    void malformedMessagesShowNothing() {
        QCOMPARE(sendWithTool({"--with-nul", "counted NUL"}), 0);
        QCOMPARE(sendWithTool({"--tag", "9486", "other tag"}), 0);
        QCOMPARE(sendWithTool({"last"}), 0);
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("last"));
    }

    void noRunningCopy() {
        QProcess tool;
        tool.start(qEnvironmentVariable("Q7_BUILD_BIN") + "/q7warnmsg",
                   {"--program", "/nonexistent/q7config", "text"});
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitCode(), 2);
    }

    // A frame that trickles in is put together before it is judged.
    void frameInPieces() {
        const QByteArray frame = CopyDataFrame::encode(copyDataWarningTag, "in pieces");
        QLocalSocket socket;
        socket.connectToServer(server->fullServerName());
        QVERIFY(socket.waitForConnected(5000));
        for (int i = 0; i < frame.size(); i += 5) {
            socket.write(frame.mid(i, 5));
            socket.flush();
            QTest::qWait(5);
        }
        QTRY_VERIFY(socket.bytesAvailable() > 0 || socket.state() == QLocalSocket::UnconnectedState);
        QCOMPARE(socket.read(1), QByteArray(1, CopyDataFrame::acceptedReply));
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("in pieces"));
    }

    // A 10 MiB frame is refused from its header; the loop keeps running meanwhile and nothing
    // is shown.
    void hugeFrameIsRefusedUnread() {
        QSignalSpy refused(server, &LocalCopyDataServer::frameRefused);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(1);

        const int huge = 10 * 1024 * 1024;
        QLocalSocket socket;
        socket.connectToServer(server->fullServerName());
        QVERIFY(socket.waitForConnected(5000));
        socket.write(CopyDataFrame::header(copyDataWarningTag, huge));
        socket.write(QByteArray(huge, 'x'));
        QTRY_COMPARE(refused.size(), 1);
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QVERIFY(ticks > 0);
        QCOMPARE(socket.read(1), QByteArray());
        QTest::qWait(50);
        QVERIFY(dialogs->shown.isEmpty());
    }

    void surplusConnectionsAreDropped() {
        QSignalSpy refused(server, &LocalCopyDataServer::frameRefused);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i <= LocalCopyDataServer::maxConnections; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(server->fullServerName());
            QVERIFY(idle.back()->waitForConnected(5000));
        }
        QTRY_COMPARE(refused.size(), 1);
        idle.clear();
        // Once they are gone, a message gets through again.
        QTest::qWait(50);
        QCOMPARE(sendWithTool({"after the crowd"}), 0);
        QTRY_COMPARE(dialogs->shown.size(), 1);
    }

    // A socket file left by a copy that died does not keep the next one deaf.
    void staleSocketFileIsReplaced() {
        const QString name = QStringLiteral("q7-test-stale-%1").arg(QCoreApplication::applicationPid());
        QFile stale(QDir::temp().filePath(name));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        LocalCopyDataServer second(name);
        QVERIFY(second.isListening());
    }
};

QTEST_MAIN(CopyDataTest)
#include "tst_input_copydata.moc"
