// The confirmation before the last left-button key is reassigned, through the scripted and
// the real dialogs.
#include "ScriptedDialogs.h"
#include "StoreDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestStoreDialogs : public QObject {
    Q_OBJECT
private slots:
    void confirmationUsesMessagesFourAndFive() {
        ScriptedDialogs scripted;
        const QStringList msgs{"0", "1", "2", "3", "Warning", "Last left button?", "6"};
        scripted.confirmAnswers << false << true;
        QVERIFY(!StoreDialogs::confirmFoolProofing(msgs));
        QCOMPARE(scripted.shown.at(0).title, QString("Warning"));
        QCOMPARE(scripted.shown.at(0).text, QString("Last left button?"));
        // Before any language is loaded the box still comes, with empty texts.
        QVERIFY(StoreDialogs::confirmFoolProofing({}));
        QCOMPARE(scripted.shown.at(1).title + scripted.shown.at(1).text, QString());
    }

    void realBoxTrueOnlyForOk() {
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return), 0}) {
            QTimer poll; // answers the box once it is up: a key, or a click on OK
            connect(&poll, &QTimer::timeout, this, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    poll.stop();
                    key ? QTest::keyClick(box, Qt::Key(key))
                        : box->button(QMessageBox::Ok)->click();
                }
            });
            poll.start(10);
            // Return presses the default button, which is Cancel.
            QCOMPARE(StoreDialogs::confirmFoolProofing({}), key == 0);
        }
    }
};

QTEST_MAIN(TestStoreDialogs)
#include "tst_store_dialogs.moc"
