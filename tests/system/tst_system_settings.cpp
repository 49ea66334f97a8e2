// Per-profile storage of the system pointer settings and the conversions to system units.
#include "IniFormat.h"
#include "PointerSystem.h"
#include "ProfileStore.h"
#include "SystemMouseSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList calls;

// Records what was asked of the system, which accepts everything; like GNOME it has no
// wheel-lines setting to offer.
struct FakePointerSystem : PointerSystem {
    bool supports(Setting setting) const override { return setting != WheelLines; }
    bool setAcceleration(bool on) override { return record("acceleration %1", on); }
    bool setSpeed(int speed) override { return record("speed %1", speed); }
    bool setWheelLines(int lines) override { return record("lines %1", lines); }
    bool setDoubleClickTime(int ms) override { return record("double-click %1", ms); }
    static bool record(const char *call, int value) {
        calls.append(QString::fromLatin1(call).arg(value));
        return true;
    }
};
} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<QSettings> file;
    std::unique_ptr<ProfileStore> store; // the owner of the stored lists; no defaults file

    std::unique_ptr<SystemMouseSettings> make() {
        return std::make_unique<SystemMouseSettings>(store.get(),
                                                     std::make_unique<FakePointerSystem>());
    }
    void use(int profile) { store->setCurProfile(uchar(profile)); }
    void reopen() {
        file->sync();
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
    }

private Q_SLOTS:
    void init() {
        store.reset();
        file.reset();
        QFile::remove(dir.filePath("p_Q7.bin"));
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
        file->setValue("profile_sw/1", QVariantList{true, 5u, 2u, 5u});
        file->setValue("profile_sw/2", QVariantList{false, 8u, 9u, 1u});
        calls.clear();
        store = std::make_unique<ProfileStore>(dir.filePath("p_Q7.bin"), dir.filePath("none.bin"));
        use(1);
    }

    // Slider ends and middles in system units; what is stored survives the file's text form.
    void settersConvertAndStore() {
        auto s = make();
        for (uint p : {0u, 1u, 10u})
            s->setCursorSpeed(p);
        for (uint p : {0u, 10u})
            s->setVerticalScrollLines(p);
        for (uint p : {0u, 5u, 10u})
            s->setDoubleClickSpeed(p);
        s->setAcceleration(false);
        QCOMPARE(calls, (QStringList{"speed 1", "speed 2", "speed 20", "lines 1", "lines 11",
                                     "double-click 900", "double-click 550", "double-click 200",
                                     "acceleration 0"}));
        reopen();
        s = make();
        QCOMPARE(file->value("profile_sw/1").toStringList(),
                 (QStringList{"false", "10", "10", "10"}));
        QVERIFY(!s->getAcceleration());
        QCOMPARE(s->getCursorSpeed(), 10u);
        s->setAcceleration(true);
        reopen();
        QVERIFY(make()->getAcceleration());
    }

    void gettersFollowTheProfileWithoutTouchingTheSystem() {
        auto s = make();
        QCOMPARE(s->getCursorSpeed(), 5u);
        use(2);
        QCOMPARE((QList<uint>{s->getAcceleration(), s->getCursorSpeed(),
                              s->getVerticalScrollLines(), s->getDoubleClickSpeed()}),
                 (QList<uint>{false, 8, 9, 1}));
        QVERIFY(calls.isEmpty());
        s->setCursorSpeed(3);
        QCOMPARE(file->value("profile_sw/2").toList().at(1).toUInt(), 3u);
        QCOMPARE(file->value("profile_sw/1").toList().at(1).toUInt(), 5u);
    }

    // A speed above 20 or a double-click time of zero or less never reaches the system: it is
    // reported as a failure and stored anyway, as a refusal is (the GNOME test's missing schema).
    void failures() {
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

        SystemMouseSettings noSystem(store.get(), nullptr);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        noSystem.setVerticalScrollLines(7);
        QCOMPARE(noSystem.getVerticalScrollLines(), 7u);

        // The page asks before offering a setting: the system's own answer, none without one.
        using namespace pointerSettings;
        QCOMPARE((QList<bool>{s->canChange(Acceleration), s->canChange(CursorSpeed),
                              s->canChange(ScrollLines), s->canChange(DoubleClick),
                              noSystem.canChange(CursorSpeed)}),
                 (QList<bool>{true, true, false, true, false}));
    }

    void shortOrMissingListsAreCompleted() {
        const QVariantList defaults = SystemMouseSettings::defaultList();
        file->setValue("profile_sw/3", QVariantList{false, 7u});
        file->setValue("profile_sw/5",
                       QStringLiteral("false")); // a one-element list as read from a file
        auto s = make();
        use(3);
        QCOMPARE(s->getDoubleClickSpeed(), defaults[3].toUInt());
        s->setDoubleClickSpeed(2);
        QCOMPARE(file->value("profile_sw/3").toStringList(),
                 (QStringList{"false", "7", defaults[2].toString(), "2"}));
        use(4);
        QCOMPARE(s->getAcceleration(), defaults[0].toBool());
        s->setVerticalScrollLines(6);
        QCOMPARE(file->value("profile_sw/4").toList().size(), 4);
        use(5);
        s->setCursorSpeed(1);
        QCOMPARE(file->value("profile_sw/5").toStringList(),
                 (QStringList{"false", "1", defaults[2].toString(), defaults[3].toString()}));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_system_settings.moc"
