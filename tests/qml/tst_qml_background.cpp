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
    void cancelReturnsNothingAndWarnsNot() {
        ScriptedDialogs dialogs;
        QCOMPARE(pickCustomBackground(nullptr, msg), QString());
        QCOMPARE(dialogs.shown.size(), 1);
        const auto &asked = dialogs.shown.first();
        QCOMPARE(asked.kind, QStringLiteral("open"));
        QCOMPARE(asked.title, QStringLiteral("Open File"));
        QCOMPARE(asked.text, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
        QCOMPARE(asked.filter, QStringLiteral("Image Files(*.png)"));
    }

    void readableFileIsReturned() {
        QTemporaryDir dir;
        const QString path = dir.filePath("sky.png");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("png");
        f.close();
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.enqueue(path);
        QCOMPARE(pickCustomBackground(nullptr, msg), path);
        QCOMPARE(dialogs.shown.size(), 1);
    }

    void unreadableFileWarnsAndReturnsNothing() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("gone.png");
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.enqueue(missing);
        QCOMPARE(pickCustomBackground(nullptr, msg), QString());
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].kind, QStringLiteral("warning"));
        QCOMPARE(dialogs.shown[1].title, QStringLiteral("Cannot open"));
        QCOMPARE(dialogs.shown[1].text, "Cannot open the file: " + missing);
    }

    void noLanguageLoadedYetShowsEmptyTexts() {
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.enqueue(QStringLiteral("/nonexistent/q7/x.png"));
        QCOMPARE(pickCustomBackground(nullptr, {}), QString());
        QCOMPARE(dialogs.shown[1].title, QString());
        QCOMPARE(dialogs.shown[1].text, QStringLiteral("/nonexistent/q7/x.png"));
    }
};

QTEST_MAIN(tst_qml_background)
#include "tst_qml_background.moc"
