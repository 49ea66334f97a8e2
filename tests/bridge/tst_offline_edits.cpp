// Edits made without the mouse, once the mouse is linked again: what is asked, what goes to
// the mouse, and what the store and the profile file hold afterwards.
#include "BlockLayout.h"
#include "OfflineEdits.h"
#include "ProfileFields.h"
#include "ScriptedDialogs.h"
#include "StoreRig.h"
#include "VirtualMouse.h"

namespace {

namespace at = layout::profileFw;
using Outcome = OfflineEdits::Outcome;

const QStringList messages = {"0", "1", "2", "3", "4", "5", "6", "7", "8",
                              "Changed without the mouse", "Send", "Keep"};

} // namespace

// A whole list, for edits the pages never make but a file or the mouse can hold.
constexpr BlockField whole(ProfileStore::Group group) { return {group, 0, layout::blockSize}; }

class TestOfflineEdits : public QObject {
    Q_OBJECT

    std::unique_ptr<StoreRig> rig;
    ProfileStore *store = nullptr;
    DeviceBridge *bridge = nullptr;
    std::unique_ptr<OfflineEdits> offline;
    vmouse::State mouse;

    // The program as it starts without a mouse: the store filled from the file, profile 2
    // current. The mouse as it comes back has every profile recognisably its own, and not
    // what the file holds.
    void startUnplugged() {
        mouse = vmouse::factoryState();
        for (int p = 0; p < 6; ++p) {
            mouse.profiles[p][at::dpi] = std::uint8_t(20 + p);
            mouse.matrices[p][0] = std::uint8_t(0x40 + p);
            mouse.dpiStage[p] = 2;
            mouse.reportRate[p] = 1;
        }
        vmouse::setState(mouse);
        rig = std::make_unique<StoreRig>();
        QVERIFY(rig->files.ready());
        store = &rig->store;
        bridge = &rig->bridge;
        offline = std::make_unique<OfflineEdits>(*store, rig->link, [] { return messages; });
        vmouse::Faults gone;
        gone.absent = true;
        vmouse::setFaults(gone);
        QVERIFY(!rig->plugIn());
        store->syncFromDevice();
        QVERIFY(bridge->setCurrentProfile(2) == false);
    }

    // Edits of profile 2 made without the mouse: DPI stages, a key, the report rate; and a
    // lighting "change" to what the mouse holds anyway, marked all the same.
    void editWithoutTheMouse() {
        QVERIFY(!bridge->setDpiStageValues(numbers(16, 60)));
        QVariantList keys = store->list(ProfileStore::Matrix, 2).mid(0, 64);
        keys[0] = 0x2C;
        QVERIFY(!bridge->setKeyMatrix(keys));
        QVERIFY(!bridge->setReportRate(8));
        QVERIFY(!bridge->setDpiStage(mouse.dpiStage[2]));
        QVERIFY(bridge->setCurrentProfile(4) == false);
        QVariantList fw4;
        for (int i = 0; i < 128; ++i) // as the file gives them back: texts
            fw4 << QString::number(mouse.profiles[4][i]);
        QVERIFY(store->setValues(whole(ProfileStore::Firmware), 4, fw4));
    }

    // The mouse comes back; the device check links it and refills the store.
    void plugIn() {
        vmouse::setFaults({});
        QVERIFY(rig->plugIn());
        vmouse::clearLog();
        store->syncFromDevice();
    }

    QVariant stored(const char *group, int profile) {
        return rig->stored(blockKey(group, profile));
    }
    QStringList marks(const char *group) {
        return rig->stored(QString::fromLatin1(group) + "/dirty").toStringList();
    }
    bool noMarks() {
        bool none = true;
        for (const char *g : {"profile_fw", "matrix_fw", "other_fw"})
            none = none && !marks(g).contains("true");
        for (auto g : {ProfileStore::Firmware, ProfileStore::Matrix, ProfileStore::Other})
            none = none && !store->dirtyFlags(g).contains(true);
        return none;
    }

private slots:
    void init() { vmouse::reset(); }
    void cleanup() {
        offline.reset();
        rig.reset();
    }

    // The user is asked once, after the refill and with no read of its own; only the groups
    // that differ from the mouse are sent or given up, the equal one is settled quietly, and
    // afterwards the mouse, the store and the file agree and nothing is marked.
    void differingEditsAreAskedAboutOnce_data() {
        QTest::addColumn<bool>("send");
        QTest::newRow("send") << true;
        QTest::newRow("keep") << false;
    }
    void differingEditsAreAskedAboutOnce() {
        QFETCH(bool, send);
        startUnplugged();
        editWithoutTheMouse();
        const QList<uint> editedFw = uints(store->list(ProfileStore::Firmware, 2));
        const QList<uint> editedKeys = uints(store->list(ProfileStore::Matrix, 2));
        QCOMPARE(marks("profile_fw"),
                 (QStringList{"false", "false", "true", "false", "true", "false"}));

        ScriptedDialogs dialogs;
        dialogs.chooseAnswers << send;
        plugIn();
        QCOMPARE(sentCodes().size(), 26); // the refill, nothing more
        // Until the answer the edits are still what the store and the file hold.
        QCOMPARE(uints(store->list(ProfileStore::Firmware, 2)), editedFw);
        QCOMPARE(uints(stored("matrix_fw", 2)), editedKeys);
        QVERIFY(offline->pending());
        QCOMPARE(dialogs.count("choose"), 0);

        vmouse::clearLog();
        QCOMPARE(offline->settle(), send ? Outcome::Sent : Outcome::KeptMouse);
        QCOMPARE(dialogs.count("choose"), 1);
        QCOMPARE(dialogs.shown.last().text, QString("Changed without the mouse"));
        QCOMPARE(dialogs.shown.last().filter, QString("Send|Keep"));
        // The equal block of profile 4 and the equal DPI stage do not go out.
        QCOMPARE(sentCodes().join(" "), QString(send ? "0c02 0d02 0302" : ""));

        const vmouse::State now = vmouse::state();
        QCOMPARE(valuesOf(now.profiles[2]), send ? editedFw : valuesOf(mouse.profiles[2]));
        QCOMPARE(valuesOf(now.matrices[2]), send ? editedKeys : valuesOf(mouse.matrices[2]));
        QCOMPARE(now.reportRate[2], std::uint8_t(send ? 8 : 1));
        for (int p = 0; p < 6; ++p) {
            QCOMPARE(uints(store->list(ProfileStore::Firmware, p)), valuesOf(now.profiles[p]));
            QCOMPARE(uints(stored("profile_fw", p)), valuesOf(now.profiles[p]));
            QCOMPARE(uints(store->list(ProfileStore::Matrix, p)), valuesOf(now.matrices[p]));
            QCOMPARE(uints(stored("matrix_fw", p)), valuesOf(now.matrices[p]));
            QCOMPARE(uints(stored("other_fw", p)).mid(0, 2),
                     (QList<uint>{now.dpiStage[p], now.reportRate[p]}));
        }
        QVERIFY(noMarks());

        // Asked once: settled is settled, and the next plug-in finds nothing to ask about.
        QVERIFY(!offline->pending());
        QCOMPARE(offline->settle(), Outcome::Nothing);
        plugIn();
        QCOMPARE(offline->settle(), Outcome::Nothing);
        QCOMPARE(dialogs.count("choose"), 1);
    }

    // Nothing is asked when nothing is marked, when the marked copies equal the mouse (their
    // marks are cleared), and when the refill lost the mouse before it could read them (the
    // marks stay for the next plug-in, with the edits still in the store and the file).
    void nothingToAsk_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("nothing marked") << "clean";
        QTest::newRow("marked but equal") << "equal";
        QTest::newRow("refill cut short") << "cut";
    }
    void nothingToAsk() {
        QFETCH(QString, situation);
        startUnplugged();
        if (situation == "equal") {
            QVERIFY(!bridge->setReportRate(mouse.reportRate[2]));
            QVERIFY(!bridge->setDpiStage(mouse.dpiStage[2]));
            QVariantList keys;
            for (int i = 0; i < 128; ++i)
                keys << mouse.matrices[2][i];
            QVERIFY(store->setValues(whole(ProfileStore::Matrix), 2, keys));
        } else if (situation == "cut") {
            editWithoutTheMouse();
        }
        const QList<uint> edited = uints(store->list(ProfileStore::Firmware, 2));

        ScriptedDialogs dialogs;
        if (situation == "cut") {
            vmouse::setFaults({});
            rig->plugIn();
            vmouse::Faults cut;
            cut.unplugAtCall = 20; // a few profiles in, before profile 2
            vmouse::setFaults(cut);
            store->syncFromDevice();
            QVERIFY(vmouse::unplugged());
        } else {
            plugIn();
            QCOMPARE(sentCodes().size(), 26);
        }
        vmouse::clearLog();
        QCOMPARE(offline->pending(), situation == "equal");
        const Outcome expected = situation == "equal" ? Outcome::Settled : Outcome::Nothing;
        QCOMPARE(offline->settle(), expected);
        QCOMPARE(dialogs.count("choose"), 0);
        QCOMPARE(sentCodes(), QStringList{});

        if (situation == "cut") {
            QCOMPARE(marks("profile_fw").value(2), QString("true"));
            QCOMPARE(marks("other_fw").value(2), QString("true"));
            QCOMPARE(uints(store->list(ProfileStore::Firmware, 2)), edited);
            QCOMPARE(uints(stored("profile_fw", 2)), edited);
        } else {
            QVERIFY(noMarks());
            QCOMPARE(uints(stored("matrix_fw", 2)), valuesOf(mouse.matrices[2]));
        }
    }

    // What the user applies while the question waits (the busy lock of another operation)
    // is the mouse's then: only what still differs is sent.
    void changesAppliedBeforeTheAnswerAreNotSentAgain() {
        startUnplugged();
        editWithoutTheMouse();
        ScriptedDialogs dialogs;
        plugIn();
        QVERIFY(bridge->setCurrentProfile(2));
        QVERIFY(bridge->setDpiStageValues(numbers(16, 60)));
        QVERIFY(bridge->setReportRate(8));
        vmouse::clearLog();
        QCOMPARE(offline->settle(), Outcome::Sent);
        QCOMPARE(dialogs.count("choose"), 1);
        QCOMPARE(sentCodes().join(" "), QString("0d02"));
        QCOMPARE(uints(stored("matrix_fw", 2)), valuesOf(vmouse::state().matrices[2]));
        QVERIFY(noMarks());
    }

    // A send the mouse does not take (pulled out while the question was up) keeps every
    // mark and the stored edits, says so to its caller, and the next plug-in asks again.
    void failedSendKeepsTheMarksForTheNextPlugIn() {
        startUnplugged();
        editWithoutTheMouse();
        const QList<uint> editedFw = uints(store->list(ProfileStore::Firmware, 2));

        ScriptedDialogs dialogs;
        dialogs.chooseAnswers << true << true;
        plugIn();
        vmouse::Faults gone;
        gone.unplugAtCall = 1;
        vmouse::setFaults(gone);
        QCOMPARE(offline->settle(), Outcome::NotSent);
        QVERIFY(!store->deviceLinked());
        QVERIFY(vmouse::state().profiles[2] == mouse.profiles[2]);
        QCOMPARE(marks("profile_fw"),
                 (QStringList{"false", "false", "true", "false", "false", "false"}));
        QCOMPARE(marks("matrix_fw").value(2), QString("true"));
        QCOMPARE(marks("other_fw").value(2), QString("true"));
        QCOMPARE(uints(stored("profile_fw", 2)), editedFw);

        // Unlinked again, the store reads the file: the edits are still there.
        store->setDeviceLinked(false);
        store->syncFromDevice();
        QCOMPARE(uints(store->list(ProfileStore::Firmware, 2)), editedFw);

        plugIn();
        QCOMPARE(offline->settle(), Outcome::Sent);
        QCOMPARE(dialogs.count("choose"), 2);
        QCOMPARE(valuesOf(vmouse::state().profiles[2]), editedFw);
        QCOMPARE(vmouse::state().reportRate[2], std::uint8_t(8));
        QVERIFY(noMarks());
    }
};

QTEST_MAIN(TestOfflineEdits)
#include "tst_offline_edits.moc"
