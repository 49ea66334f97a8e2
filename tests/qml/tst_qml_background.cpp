// The background chooser: what it asks, and that only a readable file comes back.
#include "BackgroundPicker.h"
#include "PickedFile.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_qml_background : public QObject {
    Q_OBJECT

    const QStringList msg{"m0", "m1", "Cannot open", "Cannot open the file: ", "m4", "m5", "m6"};

private Q_SLOTS:
    void asksForAPngAndReturnsOnlyAReadableFile() {
        QTemporaryDir dir;
        QFile f(dir.filePath("sky.png"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.enqueue(f.fileName());
        QCOMPARE(pickCustomBackground(nullptr, msg), f.fileName());
        QCOMPARE(pickCustomBackground(nullptr, msg), QString()); // cancelled
        QCOMPARE(dialogs.shown.size(), 2);                       // and no warning
        const auto &asked = dialogs.shown.first();
        QCOMPARE(asked.kind, QStringLiteral("open"));
        QCOMPARE(asked.title, QStringLiteral("Open File"));
        QCOMPARE(asked.text, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
        QCOMPARE(asked.filter, QStringLiteral("Image Files(*.png)"));
    }

    // A file that cannot be read, or that the image reader must not be handed (a FIFO would
    // hold the GUI thread, a folder has nothing, a huge file is read whole), is refused the
    // same way. Before any language is loaded the warning still comes, with empty texts.
    void unreadableFileWarnsAndReturnsNothing() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe.png"), folder = dir.filePath("folder.png"),
                      huge = dir.filePath("huge.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QDir().mkpath(folder));
        QFile big(huge);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(pickedfile::pictureMaxBytes + 1));
        big.close();
        for (const QString &refused : {QStringLiteral("/nonexistent/q7/gone.png"), fifo, folder, huge}) {
            for (const QStringList &strings : {msg, QStringList()}) {
                ScriptedDialogs dialogs;
                dialogs.fileAnswers.enqueue(refused);
                QCOMPARE(pickCustomBackground(nullptr, strings), QString());
                QCOMPARE(dialogs.shown.size(), 2);
                QCOMPARE(dialogs.shown[1].kind, QStringLiteral("warning"));
                QCOMPARE(dialogs.shown[1].title, strings.value(2));
                QCOMPARE(dialogs.shown[1].text, strings.value(3) + refused);
            }
        }
    }
};

QTEST_MAIN(tst_qml_background)
#include "tst_qml_background.moc"
