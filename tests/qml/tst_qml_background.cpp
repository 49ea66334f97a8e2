// The background chooser: what it asks, and that only a readable file comes back.
#include "BackgroundPicker.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

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

    // Before any language is loaded the warning still comes, with empty texts around the path.
    void unreadableFileWarnsAndReturnsNothing() {
        const QString missing = QStringLiteral("/nonexistent/q7/gone.png");
        for (const QStringList &strings : {msg, QStringList()}) {
            ScriptedDialogs dialogs;
            dialogs.fileAnswers.enqueue(missing);
            QCOMPARE(pickCustomBackground(nullptr, strings), QString());
            QCOMPARE(dialogs.shown.size(), 2);
            QCOMPARE(dialogs.shown[1].kind, QStringLiteral("warning"));
            QCOMPARE(dialogs.shown[1].title, strings.value(2));
            QCOMPARE(dialogs.shown[1].text, strings.value(3) + missing);
        }
    }
};

QTEST_MAIN(tst_qml_background)
#include "tst_qml_background.moc"
