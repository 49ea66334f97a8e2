// The device-setting operations against the virtual mouse: which block changes, what is sent,
// what is marked dirty, and what the reads convert.
#include "BlockLayout.h"
#include "ProfileFields.h"
#include "ScriptedDialogs.h"
#include "StoreDialogs.h"
#include "StoreRig.h"
#include "VirtualMouse.h"

Q_DECLARE_METATYPE(vmouse::Faults)

namespace {

namespace at = layout::profileFw;

// The decoded command reports since the last clearLog, as "code id arg" triples.
QList<QList<uint>> sentCommands() {
    QList<QList<uint>> out;
    for (const auto &c : vmouse::commands())
        out.append({c[1], c[2], c[3]});
    return out;
}

const QList<uint> oneFirmwareBlock = {0x0C, 0, 0x80};

} // namespace

class TestBridge : public QObject {
    Q_OBJECT

    std::unique_ptr<StoreRig> rig;
    ProfileFiles *files = nullptr;
    ProfileStore *store = nullptr;
    DeviceBridge *bridge = nullptr;

    // A store filled from the mouse (linked) or from the file (unlinked), profile `cur`
    // current; `damage` may change the files first.
    void open(bool linked, uchar cur, const std::function<void(ProfileFiles &)> &damage = {}) {
        rig = std::make_unique<StoreRig>(damage);
        files = &rig->files;
        store = &rig->store;
        bridge = &rig->bridge;
        QVERIFY(damage || files->ready());
        QVERIFY(rig->plugIn());
        store->setDeviceLinked(linked);
        store->syncFromDevice();
        bridge->setCurrentProfile(cur);
        store->profileSettings()->sync();
        vmouse::clearLog();
    }
    QByteArray fileNow() { return rig->fileNow(); }

private slots:
    void init() { vmouse::reset(); }
    void cleanup() { rig.reset(); }

    // Each field goes to its place: a profile's to the current profile's block, a device-wide
    // one to profile 0's whatever is current; one whole block is sent, and the rest of the
    // block goes back as it was read.
    void eachFieldGoesToItsProfilesBlock_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("indicator colours") << 0;
        QTest::newRow("DPI stages") << 1;
        QTest::newRow("LED effect") << 2;
        QTest::newRow("indicator palette (device)") << 3;
        QTest::newRow("lighting colours (device)") << 4;
    }
    void eachFieldGoesToItsProfilesBlock() {
        QFETCH(int, which);
        const BlockField field =
            std::array<BlockField, 5>{profileFields::indicatorColours, profileFields::dpiStages,
                                      profileFields::ledEffect, profileFields::indicatorPalette,
                                      profileFields::lightingColours}[size_t(which)];
        open(true, 4);
        const vmouse::State before = vmouse::state();
        const QVariantList src = numbers(field.length, 100);
        switch (which) {
        case 0: QVERIFY(bridge->setIndicatorColours(src)); break;
        case 1: QVERIFY(bridge->setDpiStageValues(src)); break;
        case 2: QVERIFY(bridge->setLedEffect(100, 101, 102)); break;
        case 3: QVERIFY(bridge->setIndicatorPaletteIndexes(src)); break;
        default: QVERIFY(bridge->setLightingColours(src)); break;
        }
        const uint target = field.deviceWide ? 0 : 4;
        QCOMPARE(sentCommands(), (QList<QList<uint>>{{0x0C, target, 0x80}}));
        QList<uint> expected = valuesOf(before.profiles[target]);
        for (int i = 0; i < field.length; ++i)
            expected[field.offset + i] = uint(100 + i);
        QCOMPARE(valuesOf(vmouse::state().profiles[target]), expected);
        QVERIFY(vmouse::state().profiles[field.deviceWide ? 4 : 0] ==
                before.profiles[field.deviceWide ? 4 : 0]);
    }

    // Reads answer the firmware's coding as numbers, also for values read back from the file
    // as text; the pages' rules turn the coding into what they show.
    void readsAnswerTheStoredCodingAsNumbers() {
        open(false, 1);
        QVariantList dpi = store->values(profileFields::dpiStages, 1);
        dpi[0] = 207;
        dpi[1] = QStringLiteral("207");
        QVERIFY(store->setValues(profileFields::dpiStages, 1, dpi));
        QVERIFY(!store->setValues(profileFields::dpiStages, 1, dpi.mid(1)));
        const QVariantList stages = bridge->dpiStageValues();
        QCOMPARE(stages.size(), 16);
        QCOMPARE(stages.mid(0, 2), (QVariantList{207u, 207u}));

        QVariantList ids;
        for (int i = 0; i < 8; ++i)
            ids << i + 2; // 2 ... 9
        QVERIFY(store->setValues(profileFields::indicatorPalette, 3, ids)); // device-wide: 0
        QCOMPARE(uints(store->list(ProfileStore::Firmware, 0)).mid(at::indicatorIndex, 8),
                 seq(8, 2));
        QCOMPARE(bridge->indicatorPaletteIndexes(), (QVariantList{2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}));
    }

    void profileSwitchMarksNothing() {
        open(false, 1);
        bridge->setCurrentProfile(3);
        QCOMPARE(sentCommands(), (QList<QList<uint>>{{0x02, 3, 0}}));
        QCOMPARE(bridge->currentProfile(), uchar(3));
        QCOMPARE(files->stored("common/curProfile").toUInt(), 1u);
        store->profileSettings()->sync();
        QCOMPARE(files->stored("common/curProfile").toUInt(), 3u);
        for (auto g : {ProfileStore::Firmware, ProfileStore::Matrix, ProfileStore::Other})
            QCOMPARE(store->dirtyFlags(g), QVariantList(6, false));

        vmouse::clearLog();
        bridge->setCurrentProfile(6); // no such profile
        QVERIFY(sentCommands().isEmpty());
        QCOMPARE(bridge->currentProfile(), uchar(3));
    }

    // Changes go to the mouse either way (here it is there and takes them); the file changes
    // only while it is not linked, with the changed profiles marked.
    void changesAreMarkedOnlyWhileUnlinked_data() {
        QTest::addColumn<bool>("linked");
        QTest::newRow("linked") << true;
        QTest::newRow("unlinked") << false;
    }
    void changesAreMarkedOnlyWhileUnlinked() {
        QFETCH(bool, linked);
        open(linked, 2);
        const QByteArray before = fileNow();
        bridge->setReportRate(4);
        bridge->setIndicatorPaletteIndexes({0, 1, 2, 3, 4, 5, 6, 8});
        store->markMatrixDirty(77); // no such profile: ignored
        QCOMPARE(sentCommands(), (QList<QList<uint>>{{0x03, 2, 4}, oneFirmwareBlock}));
        QCOMPARE(vmouse::state().reportRate[2], std::uint8_t(4));
        if (linked) {
            QCOMPARE(fileNow(), before);
            return;
        }
        store->profileSettings()->sync();
        QCOMPARE(files->stored("other_fw/dirty").toStringList(),
                 (QStringList{"false", "false", "true", "false", "false", "false"}));
        QCOMPARE(files->stored("profile_fw/dirty").toStringList(),
                 (QStringList{"true", "false", "false", "false", "false", "false"}));
        QCOMPARE(files->stored("matrix_fw/dirty").toStringList(), QStringList(6, "false"));
        QCOMPARE(uints(files->stored("other_fw/2")).at(1), 4u);
    }

    // Every setter of a page's Apply against a linked mouse that takes nothing: each answers
    // false, the store keeps the change, the file holds it marked as made without the mouse,
    // and the whole operation owes one notice. A mouse that takes them leaves no mark.
    void changesTheMouseDidNotTakeStayMarked_data() {
        QTest::addColumn<vmouse::Faults>("faults");
        vmouse::Faults gone, refusing;
        gone.unplugAtCall = 1;
        refusing.failFeatureSend = true;
        QTest::newRow("unplugged") << gone;
        QTest::newRow("command reports refused") << refusing;
    }
    void changesTheMouseDidNotTakeStayMarked() {
        QFETCH(vmouse::Faults, faults);
        open(true, 3);
        const vmouse::State before = vmouse::state();
        vmouse::setFaults(faults);

        const QVariantList dpi = numbers(16, 20);
        // The first failure is the one that finds the mouse gone: its change is marked too.
        const QList<bool> results = {
            bridge->setKeyMatrix(numbers(64, 1)), bridge->setReportRate(8),
            bridge->setIndicatorPaletteIndexes(numbers(8, 0)),     bridge->setDpiStageValues(dpi),
            bridge->setDpiStage(3),               bridge->setCurrentProfile(3)};
        QCOMPARE(results, QList<bool>(6, false));
        QCOMPARE(rig->link.takeNotice(), SendOutcome::NotTaken);
        QCOMPARE(rig->link.takeNotice(), SendOutcome::Nothing);

        QCOMPARE(bridge->reportRate(), uchar(8));
        QCOMPARE(bridge->dpiStageValues(), dpi);
        store->profileSettings()->sync();
        const auto marked = [](int p) {
            QStringList flags(6, QStringLiteral("false"));
            flags[p] = QStringLiteral("true");
            return flags;
        };
        QCOMPARE(files->stored("other_fw/dirty").toStringList(), marked(3));
        QCOMPARE(files->stored("matrix_fw/dirty").toStringList(), marked(3));
        QStringList fw = marked(3);
        fw[0] = QStringLiteral("true");
        QCOMPARE(files->stored("profile_fw/dirty").toStringList(), fw);
        QCOMPARE(uints(files->stored("other_fw/3")).mid(0, 2), (QList<uint>{3, 8}));
        QCOMPARE(uints(files->stored("profile_fw/3")).mid(at::dpi, 16), uints(dpi));
        QCOMPARE(uints(files->stored("matrix_fw/3")).mid(0, 64), seq(64, 1));
        QVERIFY(vmouse::state().profiles == before.profiles);
        QVERIFY(vmouse::state().matrices == before.matrices);

        // Plugged back and bound again by the device check: the next change arrives and
        // nothing more is marked or owed.
        vmouse::setFaults({});
        QVERIFY(rig->plugIn());
        vmouse::clearLog();
        const QByteArray file = fileNow();
        QVERIFY(bridge->setLedEffect(1, 2, 3));
        QCOMPARE(rig->link.takeNotice(), SendOutcome::Nothing);
        QCOMPARE(valuesOf(vmouse::state().profiles[3]).mid(at::effect, 3), (QList<uint>{1, 2, 3}));
        QCOMPARE(fileNow(), file);
    }

    // Without a mouse the changes are marked as always; what the user is owed says so.
    void changesWithoutAMouseOweTheNoMouseNotice() {
        open(false, 2);
        rig->link.setDevice(nullptr);
        QVERIFY(!bridge->setIndicatorColours(numbers(24, 1)));
        QVERIFY(!bridge->setDpiStage(2));
        QCOMPARE(rig->link.takeNotice(), SendOutcome::NoMouse);
        QCOMPARE(store->dirtyFlags(ProfileStore::Firmware).at(2), QVariant(true));
        // A mouse that vanishes during an operation outweighs one never there.
        store->setDeviceLinked(true);
        bridge->setReportRate(1);
        store->setDeviceLinked(false);
        bridge->setReportRate(2);
        QCOMPARE(rig->link.takeNotice(), SendOutcome::NotTaken);
    }

    void shortListsAreRefused() {
        open(true, 1);
        const QVariantList before = store->list(ProfileStore::Firmware, 1);
        const QVariantList before0 = store->list(ProfileStore::Firmware, 0);
        bridge->setIndicatorColours(QVariantList(23, 1));
        bridge->setDpiStageValues(QVariantList(15, 1));
        bridge->setIndicatorPaletteIndexes(QVariantList(7, 1));
        bridge->setLightingColours({});
        bridge->setKeyMatrix(QVariantList(63, 1));
        QVERIFY(sentCommands().isEmpty());
        QCOMPARE(store->list(ProfileStore::Firmware, 1), before);
        QCOMPARE(store->list(ProfileStore::Firmware, 0), before0);
    }

    // The confirmation before the last left-button key is reassigned asks with messages 4
    // and 5, and still asks before any language is loaded.
    void lastLeftButtonIsConfirmed() {
        ScriptedDialogs scripted;
        scripted.confirmAnswers << false << true;
        QVERIFY(!StoreDialogs::confirmFoolProofing({"0", "1", "2", "3", "Warning", "Last?", "6"}));
        QCOMPARE(scripted.shown.at(0).title + "|" + scripted.shown.at(0).text, "Warning|Last?");
        QVERIFY(StoreDialogs::confirmFoolProofing({}));
        QCOMPARE(scripted.shown.at(1).title + scripted.shown.at(1).text, QString());
    }

    void keyDefinitionsFollowTheCurrentProfile() {
        vmouse::State st = vmouse::factoryState();
        for (int i = 0; i < 128; ++i)
            st.matrices[3][i] = std::uint8_t(i);
        vmouse::setState(st);
        open(true, 3);
        QCOMPARE(bridge->getKeydefine(9), (QVariantList{36u, 37u, 38u, 39u}));
        QCOMPARE(bridge->getKeydefine(QStringLiteral("15")), (QVariantList{60u, 61u, 62u, 63u}));
        for (const QVariant &bad : {QVariant(16), QVariant(-1)})
            QCOMPARE(bridge->getKeydefine(bad), (QVariantList{0u, 0u, 0u, 0u}));
        bridge->setCurrentProfile(1);
        QCOMPARE(bridge->getKeydefine(9), (QVariantList{0x03u, 0x00u, 0x8Au, 0x01u}));
    }

    void keyMatrixSendsTheWholeBlock() {
        vmouse::State st = vmouse::factoryState();
        for (int i = 64; i < 128; ++i)
            st.matrices[2][i] = std::uint8_t(255 - i);
        vmouse::setState(st);
        open(true, 2);
        QVariantList src64 = numbers(64, 0);
        src64[0] = 256;
        src64[1] = 0x1F0;
        src64[2] = -1;
        bridge->setKeyMatrix(src64);
        QCOMPARE(sentCommands(), (QList<QList<uint>>{{0x0D, 2, 0x80}}));
        const vmouse::Block m = vmouse::state().matrices[2];
        QCOMPARE(valuesOf(m).mid(0, 4), (QList<uint>{0x00, 0xF0, 0xFF, 3}));
        QCOMPARE(valuesOf(m).mid(64, 64), valuesOf(st.matrices[2]).mid(64, 64));
        // The copy keeps the values as given.
        QCOMPARE(store->list(ProfileStore::Matrix, 2).at(0), QVariant(256));
        QCOMPARE(bridge->getKeydefine(0).at(1).toUInt(), 0x1F0u);
    }

    void keyMatrixOfADamagedFileSendsZerosForWhatIsMissing() {
        open(false, 1, [](ProfileFiles &f) {
            QSettings(f.working(), qt48IniFormat()).setValue("matrix_fw/1", QVariantList{1, 2, 3});
            QFile::remove(f.defaults()); // nothing to complete the list from
        });
        bridge->setKeyMatrix(numbers(64, 1));
        QCOMPARE(valuesOf(vmouse::state().matrices[1]).mid(64, 64), QList<uint>(64, 0));
        QCOMPARE(valuesOf(vmouse::state().matrices[1]).mid(0, 3), (QList<uint>{1, 2, 3}));
    }
};

QTEST_MAIN(TestBridge)
#include "tst_bridge.moc"
