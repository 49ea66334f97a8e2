// Per-profile storage of the system pointer settings and the conversions to system units.
#include "FakePointerSystem.h"
#include "IniFormat.h"
#include "SystemMouseSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class SettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<QSettings> file;
    QStringList calls;
    bool refuse = false;
    int profile = 1;

    std::unique_ptr<SystemMouseSettings> make() {
        return std::make_unique<SystemMouseSettings>(
            file.get(), [this] { return profile; }, std::make_unique<FakePointerSystem>(&calls, &refuse));
    }
    void reopen() {
        file->sync();
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
    }

private Q_SLOTS:
    void init() {
        QFile::remove(dir.filePath("p_Q7.bin"));
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
        file->setValue("profile_sw/1", QVariantList{true, 5u, 2u, 5u});
        file->setValue("profile_sw/2", QVariantList{false, 8u, 9u, 1u});
        calls.clear();
        refuse = false;
        profile = 1;
    }

    void slidersBecomeSystemUnits_data() {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<uint>("position");
        QTest::addColumn<QString>("call");
        QTest::newRow("slowest speed") << "speed" << 0u << "speed 1";
        QTest::newRow("speed 1") << "speed" << 1u << "speed 2";
        QTest::newRow("fastest speed") << "speed" << 10u << "speed 20";
        QTest::newRow("fewest lines") << "lines" << 0u << "lines 1";
        QTest::newRow("most lines") << "lines" << 10u << "lines 11";
        QTest::newRow("slow double-click") << "double" << 0u << "double-click 900";
        QTest::newRow("middle double-click") << "double" << 5u << "double-click 550";
        QTest::newRow("fast double-click") << "double" << 10u << "double-click 200";
    }
    void slidersBecomeSystemUnits() {
        QFETCH(QString, slot);
        QFETCH(uint, position);
        QFETCH(QString, call);
        auto s = make();
        if (slot == "speed")
            s->setCursorSpeed(position);
        else if (slot == "lines")
            s->setVerticalScrollLines(position);
        else
            s->setDoubleClickSpeed(position);
        QCOMPARE(calls, QStringList{call});
    }

    // What is stored survives the file being written and read back in its text form.
    void settersStoreTheCurrentProfilesPositions() {
        auto s = make();
        s->setAcceleration(false);
        s->setCursorSpeed(0);
        s->setVerticalScrollLines(10);
        s->setDoubleClickSpeed(7);
        QCOMPARE(calls, (QStringList{"acceleration 0", "speed 1", "lines 11", "double-click 410"}));
        reopen();
        auto again = make();
        QCOMPARE(again->getAcceleration(), false);
        QCOMPARE(again->getCursorSpeed(), 0u);
        QCOMPARE(again->getVerticalScrollLines(), 10u);
        QCOMPARE(again->getDoubleClickSpeed(), 7u);
        QCOMPARE(file->value("profile_sw/2").toStringList(), (QStringList{"false", "8", "9", "1"}));
        again->setAcceleration(true);
        reopen();
        QVERIFY(make()->getAcceleration());
    }

    void gettersFollowTheProfileWithoutTouchingTheSystem() {
        auto s = make();
        QCOMPARE(s->getCursorSpeed(), 5u);
        profile = 2;
        QCOMPARE(s->getAcceleration(), false);
        QCOMPARE(s->getCursorSpeed(), 8u);
        QCOMPARE(s->getVerticalScrollLines(), 9u);
        QCOMPARE(s->getDoubleClickSpeed(), 1u);
        s->setCursorSpeed(3);
        QCOMPARE(file->value("profile_sw/2").toList().at(1).toUInt(), 3u);
        QCOMPARE(file->value("profile_sw/1").toList().at(1).toUInt(), 5u);
        QCOMPARE(calls, QStringList{"speed 6"});
    }

    void refusedChangesAreReportedAndStillStored() {
        refuse = true;
        auto s = make();
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        s->setAcceleration(false);
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        s->setCursorSpeed(9);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        s->setVerticalScrollLines(4);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        s->setDoubleClickSpeed(2);
        QCOMPARE(s->getAcceleration(), false);
        QCOMPARE(s->getCursorSpeed(), 9u);
        QCOMPARE(s->getVerticalScrollLines(), 4u);
        QCOMPARE(s->getDoubleClickSpeed(), 2u);
    }

    // A speed above 20 or a double-click time of zero or less never reaches the system.
    void positionsPastTheSystemsRangeAreRefused() {
        auto s = make();
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        s->setCursorSpeed(11);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        s->setDoubleClickSpeed(13);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        s->setDoubleClickSpeed(4000000000u);
        s->setDoubleClickSpeed(12); // 60 ms is still a time
        QCOMPARE(calls, QStringList{"double-click 60"});
        QCOMPARE(s->getCursorSpeed(), 11u);
        QCOMPARE(s->getDoubleClickSpeed(), 12u);
    }

    void shortOrMissingListsAreCompleted() {
        file->setValue("profile_sw/3", QVariantList{false, 7u});
        file->remove("profile_sw/4");
        file->setValue("profile_sw/5", QStringLiteral("false")); // a one-element list as read from a file
        auto s = make();
        profile = 3;
        QCOMPARE(s->getCursorSpeed(), 7u);
        QCOMPARE(s->getDoubleClickSpeed(), SystemMouseSettings::defaultList()[3].toUInt());
        s->setDoubleClickSpeed(2);
        QCOMPARE(file->value("profile_sw/3").toList().size(), 4);
        QCOMPARE(s->getCursorSpeed(), 7u);
        QCOMPARE(s->getAcceleration(), false);
        profile = 4;
        QCOMPARE(s->getAcceleration(), SystemMouseSettings::defaultList()[0].toBool());
        s->setVerticalScrollLines(6);
        QCOMPARE(s->getVerticalScrollLines(), 6u);
        QCOMPARE(file->value("profile_sw/4").toList().size(), 4);
        profile = 5;
        QCOMPARE(s->getAcceleration(), false);
        s->setCursorSpeed(1);
        QCOMPARE(s->getAcceleration(), false);
    }

    void noSystemAtAll() {
        SystemMouseSettings s(file.get(), [this] { return profile; }, nullptr);
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        s.setCursorSpeed(2);
        QCOMPARE(s.getCursorSpeed(), 2u);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_system_settings.moc"
