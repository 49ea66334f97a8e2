#include "ApConfig.h"
#include "IniFormat.h"
#include "ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The 32 options as the settings page writes them.
QVariantList pageOptions() {
    QVariantList o{2, 0, 0, 1, 2, true, QStringLiteral("file:/home/me/my pictures/a,b=c.png"), 1};
    for (int i = 0; i < 21; ++i)
        o << (i * 12) % 256;
    o << 6 << 3 << QStringLiteral("https://example.org/q7?a=1;b=2");
    return o;
}
} // namespace

class TestApConfigFile : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString file() const { return tmp.path() + QStringLiteral("/apConfig.bin"); }
    QString defaults() const { return tmp.path() + QStringLiteral("/apConfigD.bin"); }

    void writeDefaults() {
        QSettings d(defaults(), qt48IniFormat());
        d.setValue("common/name", "Factory");
        d.setValue("common/total", 2);
        d.setValue("common/0", 2);
        d.setValue("common/1", 7);
        d.setValue("Q7/dpiBase", 50);
    }

private slots:
    void init() {
        QFile::remove(file());
        QFile::remove(defaults());
    }

    void optionsRoundTrip() {
        const QVariantList saved = pageOptions();
        {
            ApConfig config(tmp.path());
            config.saveApConfig(saved);
            const QVariantList loaded = config.loadApConfig();
            QCOMPARE(loaded.size(), 32);
        }
        // And from the file itself, through a fresh handle.
        ApConfig config(tmp.path());
        const QVariantList loaded = config.loadApConfig();
        QCOMPARE(loaded.size(), 32);
        for (int i = 0; i < 32; ++i) {
            if (i == 5)
                QCOMPARE(loaded.at(i).toBool(), true);
            else if (i == 6 || i == 31)
                QCOMPARE(loaded.at(i).toString(), saved.at(i).toString());
            else
                QCOMPARE(loaded.at(i).toInt(), saved.at(i).toInt());
        }
    }

    void shorterSaveKeepsOldEntries() {
        ApConfig config(tmp.path());
        config.saveApConfig(pageOptions());
        config.saveApConfig({2, 0, 0});
        config.settings().sync();
        QCOMPARE(config.loadApConfig().size(), 3);
        QSettings raw(file(), qt48IniFormat());
        QCOMPARE(raw.value("common/31").toString(), QString("https://example.org/q7?a=1;b=2"));
    }

    void absentValuesReadAsZero() {
        ApConfig config(tmp.path());
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.q7_getApConfig("dpiBase"), QVariant(0));

        config.settings().setValue("common/total", 3);
        config.settings().setValue("common/0", 5);
        const QVariantList loaded = config.loadApConfig();
        QCOMPARE(loaded.size(), 3);
        QCOMPARE(loaded.at(1), QVariant(0));

        config.settings().setValue("common/total", 2000000000);
        QCOMPARE(config.loadApConfig().size(), ApConfig::maxOptions);
        config.settings().setValue("common/total", -4);
        QVERIFY(config.loadApConfig().isEmpty());
    }

    void resetRestoresTheDefaultsFile() {
        writeDefaults();
        ApConfig config(tmp.path());
        config.saveApConfig(pageOptions());
        config.settings().sync();
        // A write still pending when the reset comes must not reach the restored file.
        config.saveApConfig({9, 9, 9, 9});
        config.resetApconfig();
        QCOMPARE(config.loadApConfig(), QVariantList({"2", "7"}));
        QCOMPARE(config.q7_getApConfig("dpiBase").toInt(), 50);
        config.settings().sync();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bytesOf(file()), bytesOf(defaults()));

        // Later writes go to the new handle and reach the file.
        config.saveApConfig({1, 2, 3});
        config.settings().sync();
        QSettings raw(file(), qt48IniFormat());
        QCOMPARE(raw.value("common/total").toInt(), 3);
    }

    void resetWithoutDefaultsReadsEmpty() {
        ApConfig config(tmp.path());
        config.saveApConfig(pageOptions());
        config.settings().sync();
        config.resetApconfig();
        QVERIFY(config.loadApConfig().isEmpty());
        QCOMPARE(config.q7_getApConfig("colorMaxStage"), QVariant(0));
    }

    void productNamesPerDeviceEntry() {
        ApConfig config(tmp.path());
        config.settings().setValue("common/product_name", QStringList({"Old", "New"}));
        QCOMPARE(config.productNames(), QStringList({"Old", "New"}));
    }

    void confirmationTakesTitleAndTextFromMessages() {
        ScriptedDialogs scripted;
        ApConfig config(tmp.path());
        const QStringList msgs{"0", "1", "2", "3", "Warning", "Last left button?", "6"};
        scripted.confirmAnswers << true << false;
        QVERIFY(config.getMsgAns_FoolProofing(msgs));
        QVERIFY(!config.getMsgAns_FoolProofing(msgs));
        QCOMPARE(scripted.shown.size(), 2);
        QCOMPARE(scripted.shown.at(0).title, QString("Warning"));
        QCOMPARE(scripted.shown.at(0).text, QString("Last left button?"));
        // Before any language is loaded the box still comes, with empty texts.
        scripted.confirmAnswers << true;
        QVERIFY(config.getMsgAns_FoolProofing({}));
        QCOMPARE(scripted.shown.at(2).title, QString());
        QCOMPARE(scripted.shown.at(2).text, QString());
    }

    void realBoxAnswersOnlyOkWithTrue_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("answer");
        QTest::newRow("escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("enter on the default button") << int(Qt::Key_Return) << false;
        QTest::newRow("ok") << 0 << true;
    }
    void realBoxAnswersOnlyOkWithTrue() {
        QFETCH(int, key);
        QFETCH(bool, answer);
        ApConfig config(tmp.path());
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            seen = box->windowTitle() == "T" && box->text() == "X";
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
        QCOMPARE(config.getMsgAns_FoolProofing({"", "", "", "", "T", "X"}), answer);
        QVERIFY(seen);
    }
};

QTEST_MAIN(TestApConfigFile)
#include "tst_apconfig_file.moc"
