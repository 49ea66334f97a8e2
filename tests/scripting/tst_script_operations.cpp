// The operations as the running window uses them, in-process and without a window: what
// reaches its host (the profile menu's switch, the pages' refresh) and what does not.
#include "ApConfig.h"
#include "ProfileRules.h"
#include "ScriptOperations.h"
#include "StoreRig.h"

#include <QTest>

class TestScriptOperations : public QObject {
    Q_OBJECT

    std::unique_ptr<StoreRig> rig;
    std::unique_ptr<ApConfig> config;
    std::unique_ptr<ProfileRules> rules;
    std::unique_ptr<ScriptOperations> ops;
    QList<int> switched;
    int refreshed = 0;

private Q_SLOTS:
    void init() {
        vmouse::reset();
        rig = std::make_unique<StoreRig>();
        QVERIFY(rig->files.ready());
        QVERIFY(rig->plugIn());
        rig->store.syncFromDevice();
        const QString settings = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules/setting/";
        config = std::make_unique<ApConfig>(settings, settings);
        rules = std::make_unique<ProfileRules>(*config);
        switched.clear();
        refreshed = 0;
        ops = std::make_unique<ScriptOperations>(
            rig->store, rig->link, rig->bridge, *rules,
            ScriptOperations::Host{[this](int p) {
                                       switched.append(p);
                                       return true;
                                   },
                                   [this] { ++refreshed; }});
    }

    // The pages' own rules answer: the sensor page's four rates, the stage menus' values
    // without the empty entry, the effects the product lists.
    void rulesAreThePages() {
        QVERIFY(rules->loaded());
        QCOMPARE(rules->rates(), QList<int>({125, 250, 500, 1000}));
        QVERIFY(!rules->dpiOffered().contains(0) && rules->dpiOffered().contains(7950));
        const QList<int> effects = rules->effectCodes();
        QVERIFY(effects.contains(3) && !effects.contains(2) && !effects.contains(10));
        QCOMPARE(rules->brightnessSteps(), 7);
    }

    // The window switches through its menu, so the pages follow; the bridge is left alone.
    void profileGoesToTheHost() {
        vmouse::clearLog();
        QCOMPARE(ops->setProfile(3).code, int(ScriptResult::Done));
        QCOMPARE(switched, QList<int>({3}));
        QVERIFY(sentCodes().isEmpty());
        QCOMPARE(ops->setProfile(6).code, int(ScriptResult::BadArguments));
        QCOMPARE(switched.size(), 1);
    }

    // A change has the pages read the store again; a refused one changes nothing to show.
    void onlyAChangeRefreshesThePages() {
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Rate, "500").code, int(ScriptResult::Done));
        QCOMPARE(refreshed, 1);
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Rate, "333").code,
                 int(ScriptResult::BadArguments));
        QCOMPARE(ops->importProfile(2, rig->files.working() + ".none").code,
                 int(ScriptResult::BadArguments));
        QCOMPARE(refreshed, 1);
    }

    // The window's notice for its next operation is not owed for a script's send.
    void aScriptsFailureIsNotTheWindowsNotice() {
        vmouse::Faults f;
        f.failWrite = true;
        vmouse::setFaults(f);
        QCOMPARE(ops->setValue(ScriptOperations::Setting::Brightness, "2").code,
                 int(ScriptResult::Refused));
        QCOMPARE(rig->link.takeNotice(), SendOutcome::Nothing);
    }
};

QTEST_GUILESS_MAIN(TestScriptOperations)
#include "tst_script_operations.moc"
