// Warning messages sent to the running program in a burst: it stays up and shows one box that
// carries the newest message and the count of the others, and its memory stays flat.
#include "CopyData.h"
#include "CopyDataFrame.h"
#include "Journey.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>

namespace {

// The running copy's resident memory, found by its program file.
qint64 residentKiB(const QString &program) {
    const QString wanted = QFileInfo(program).canonicalFilePath();
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        if (QFileInfo(dir + QStringLiteral("/exe")).canonicalFilePath() != wanted)
            continue;
        QFile status(dir + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool send(const QString &server, const QByteArray &text) {
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(5000))
        return false;
    socket.write(CopyDataFrame::encode(copyDataWarningTag, text));
    socket.flush();
    while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(5000)) {
    }
    return socket.read(1) == QByteArray(1, CopyDataFrame::acceptedReply);
}

} // namespace

class JourneyMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void floodGivesOneBox() {
        Journey j(QStringLiteral("messages"));
        j.useWindowManager();
        QVERIFY2(j.start(), j.errorText());
        const QString program = j.programDir() + QStringLiteral("/q7config");
        // The program's runtime folder is the journey's, beside its program folder.
        qputenv("XDG_RUNTIME_DIR",
                QFile::encodeName(QDir::cleanPath(j.programDir() + QStringLiteral("/../runtime"))));
        const QString server =
            CopyDataFrame::serverName(QFileInfo(program).canonicalFilePath());
        const qint64 before = residentKiB(program);
        QVERIFY(before > 0);

        const int frames = 2000;
        int accepted = 0;
        for (int i = 0; i < frames; ++i)
            accepted += send(server, QStringLiteral("<b>flood</b> %1").arg(i).toUtf8());
        QCOMPARE(accepted, frames);
        const QString expected =
            mergedWarningText(QStringLiteral("<b>flood</b> %1").arg(frames - 1), frames - 1);
        QVERIFY2(j.waitFor([&] {
            const std::optional<Journey::Dialog> d = j.dialog();
            if (!d)
                return false;
            for (const Journey::DialogText &t : d->texts)
                if (t.text == expected)
                    return true;
            return false;
        }),
                 "the box does not show the newest message and the count");
        const qint64 grown = residentKiB(program) - before;
        qInfo("%d messages: the program's resident memory grew by %lld KiB", frames, grown);
        QVERIFY2(grown < 32 * 1024, qPrintable(QString::number(grown)));
        j.screenshot(QStringLiteral("flood"), j.dialog()->frame.united(j.windowRect()));

        // One Return closes the one box; no other was stacked beneath it.
        j.key(Journey::Return);
        QVERIFY2(j.waitFor([&] { return !j.dialog(); }), "a box is still up after the first closed");
        QVERIFY(j.settle());
        QVERIFY(!j.dialog());
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(JourneyMessages)
#include "tst_journey_messages.moc"
