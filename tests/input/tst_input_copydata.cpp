// Warning messages to the running copy over the local socket, sent by the command-line tool or
// by hand-made frames. This test program plays the running copy.
#include "CopyDataFrame.h"
#include "CopyDataReceiver.h"
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

// The event loop keeps serving the socket while the tool runs.
int sendWithTool(const QStringList &arguments) {
    QProcess tool;
    tool.start(qEnvironmentVariable("Q7_BUILD_BIN") + "/q7warnmsg",
               QStringList{"--program", QCoreApplication::applicationFilePath()} + arguments);
    if (!QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 20000))
        return -1;
    return tool.exitCode();
}
} // namespace

class CopyDataTest : public QObject {
    Q_OBJECT
    QWidget window;
    std::unique_ptr<ScriptedDialogs> dialogs;
    LocalCopyDataServer *server = nullptr;

    std::unique_ptr<QLocalSocket> connectToServer() {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(server->fullServerName());
        return socket->waitForConnected(5000) ? std::move(socket) : nullptr;
    }

private Q_SLOTS:
    void initTestCase() {
        window.setWindowTitle(QStringLiteral("Mouse Config"));
        InputHooks::setCopyDataCallback(onCopyData, qApp, &window);
        server = qApp->findChild<LocalCopyDataServer *>();
        QVERIFY(server && server->isListening());
        const QFile::Permissions p = QFile::permissions(server->fullServerName());
        QVERIFY(
            !(p & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadGroup | QFile::ReadOther)));
    }
    void init() {
        dialogs.reset(); // its destructor restores the real dialogs: before, not after, the new one
        dialogs = std::make_unique<ScriptedDialogs>();
    }

    // What the window shows of a message: exactly its UTF-8 text under the warning tag, the
    // window's title above it.
    void warningMessages() {
        const QByteArray text = QStringLiteral("Größe ✓").toUtf8();
        const struct {
            quintptr tag;
            QByteArray bytes;
            bool shown;
            const char *what;
        } cases[] = {
            {9487, text, true, "exact UTF-8 length"},
            {9487, text + '\0', false, "NUL counted"},
            {9486, text, false, "another tag"},
            {9487, text.left(3), false, "cut inside a character"},
            {9487, QByteArray("ab\0cd", 5), false, "NUL in the middle"},
            {9487, QByteArray(), true, "empty"},
        };
        for (const auto &c : cases) {
            const CopyDataMessage m{c.tag, quint32(c.bytes.size()), c.bytes.constData()};
            const qsizetype before = dialogs->shown.size();
            showCopyDataWarning(&m, &window);
            QVERIFY2((dialogs->shown.size() > before) == c.shown, c.what);
            if (c.shown)
                QVERIFY(dialogs->shown.last().title == "Mouse Config" &&
                        dialogs->shown.last().text.toUtf8() == c.bytes);
        }
        const CopyDataMessage noData{copyDataWarningTag, 4, nullptr},
            good{copyDataWarningTag, 2, "ok"};
        showCopyDataWarning(&noData, &window);
        showCopyDataWarning(&good, nullptr);
        QCOMPARE(dialogs->count("warning"), 2);
    }

    // Malformed messages are taken off the socket and ignored; had they shown a box, it would
    // come before the well-formed one sent after them.
    void toolMessages() {
        QCOMPARE(sendWithTool({"--with-nul", "counted NUL"}), 0);
        QCOMPARE(sendWithTool({"--tag", "9486", "other tag"}), 0);
        QCOMPARE(sendWithTool({QStringLiteral("Gerät getrennt ✓")}), 0);
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].title, QStringLiteral("Mouse Config"));
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Gerät getrennt ✓"));
        QCOMPARE(sendWithTool({"--program", "/nonexistent/q7config", "x"}), 2);
    }

    void frameInPieces() {
        const QByteArray frame = CopyDataFrame::encode(copyDataWarningTag, "in pieces");
        auto socket = connectToServer();
        QVERIFY(socket);
        for (int i = 0; i < frame.size(); i += 5) {
            socket->write(frame.mid(i, 5));
            socket->flush();
            QTest::qWait(5);
        }
        QTRY_VERIFY(socket->bytesAvailable() > 0);
        QCOMPARE(socket->read(1), QByteArray(1, CopyDataFrame::acceptedReply));
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("in pieces"));
    }

    // A script's command keeps its connection until the handler answers, however late; a
    // script that gave up is no harm to the answer, and without a handler it hears at once.
    void commandWaitsForItsAnswer() {
        QList<CopyDataAnswer> answers;
        QByteArrayList requests;
        setCopyDataCommandHandler([&](const QByteArray &request, CopyDataAnswer answer) {
            requests.append(request);
            answers.append(answer);
        });
        auto socket = connectToServer();
        QVERIFY(socket);
        socket->write(CopyDataFrame::encode(copyDataCommandTag, "status"));
        QTRY_COMPARE(answers.size(), 1);
        QCOMPARE(requests[0], QByteArray("status"));
        QTest::qWait(LocalCopyDataServer::frameTimeoutMs + 200); // past the stall timer
        QCOMPARE(socket->bytesAvailable(), 0);
        QCOMPARE(socket->state(), QLocalSocket::ConnectedState);
        answers[0]("done");
        QTRY_COMPARE(socket->bytesAvailable(), CopyDataFrame::headerSize + 4);
        QCOMPARE(socket->readAll(), CopyDataFrame::encode(copyDataCommandTag, "done"));
        QTRY_COMPARE(socket->state(), QLocalSocket::UnconnectedState);

        auto gone = connectToServer();
        QVERIFY(gone);
        gone->write(CopyDataFrame::encode(copyDataCommandTag, "set"));
        QTRY_COMPARE(answers.size(), 2);
        gone.reset();
        QTRY_COMPARE(server->openConnections(), 0);
        answers[1]("late");

        setCopyDataCommandHandler({});
        auto unheard = connectToServer();
        QVERIFY(unheard);
        unheard->write(CopyDataFrame::encode(copyDataCommandTag, "status"));
        QTRY_COMPARE(unheard->bytesAvailable(), CopyDataFrame::headerSize);
        QVERIFY(dialogs->shown.isEmpty());
    }

    // Refused from its header while the loop keeps running; nothing is shown.
    void hugeFrameIsRefusedUnread() {
        QSignalSpy refused(server, &LocalCopyDataServer::frameRefused);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(1);
        const int huge = 10 * 1024 * 1024;
        auto socket = connectToServer();
        QVERIFY(socket);
        socket->write(CopyDataFrame::header(copyDataWarningTag, huge) + QByteArray(huge, 'x'));
        QTRY_COMPARE(refused.size(), 1);
        QTRY_COMPARE(socket->state(), QLocalSocket::UnconnectedState);
        QVERIFY(ticks > 0);
        QCOMPARE(socket->read(1), QByteArray());
        QTest::qWait(50);
        QVERIFY(dialogs->shown.isEmpty());
    }

    // Clients that connect and send nothing make room for the next one instead of keeping it out.
    void idleConnectionsCannotLockSendersOut() {
        QSignalSpy refused(server, &LocalCopyDataServer::frameRefused);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < LocalCopyDataServer::maxConnections; ++i)
            QVERIFY(idle.emplace_back(connectToServer()));
        QTRY_COMPARE(server->openConnections(), LocalCopyDataServer::maxConnections);
        QCOMPARE(sendWithTool({"past the idle ones"}), 0);
        QTRY_COMPARE(dialogs->shown.size(), 1);
        QVERIFY(refused.size() >= 1);
        idle.clear();
        QTRY_COMPARE(server->openConnections(), 0);
    }

    // Profile switches waiting together count only by the last; warnings keep their order until
    // the queue is full, and then are dropped rather than buffered.
    void waitingMessages() {
        PendingCopyData pending;
        QVERIFY(pending.add(copyDataProfileTag, "\x01"));
        QVERIFY(pending.add(copyDataWarningTag, "a"));
        QVERIFY(pending.add(copyDataProfileTag, "\x03"));
        QVERIFY(pending.add(copyDataWarningTag, "b"));
        QStringList order;
        while (auto m = pending.take())
            order << QStringLiteral("%1:%2").arg(m->tag, 0, 16).arg(QString::fromLatin1(m->bytes.toHex()));
        QCOMPARE(order, (QStringList{"250f:61", "2510:03", "250f:62"}));
        for (int i = 0; i < PendingCopyData::capacity; ++i)
            QVERIFY(pending.add(copyDataWarningTag, "x"));
        QVERIFY(!pending.add(copyDataWarningTag, "one too many"));
        QVERIFY(!pending.add(copyDataProfileTag, "\x02"));
    }

    // A socket file left by a copy that died does not keep the next one deaf.
    void staleSocketFileIsReplaced() {
        const QString name =
            QStringLiteral("q7-test-stale-%1").arg(QCoreApplication::applicationPid());
        QFile stale(QDir::temp().filePath(name));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        QVERIFY(LocalCopyDataServer(name).isListening());
    }
};

QTEST_MAIN(CopyDataTest)
#include "tst_input_copydata.moc"
