// The profile store: export, import, reset, dirty marking, completion of damaged files and
// the refill from the virtual mouse.
#include "MS_HT66FB560.h"
#include "ProfileFiles.h"
#include "ProfileStore.h"
#include "ScriptedDialogs.h"
#include "VirtualMouse.h"

#include <QStandardPaths>

namespace {

const QStringList groups = {"profile_sw", "profile_fw", "matrix_fw", "other_fw"};

QString k(const QString &group, int profile) {
    return group + "/" + QString::number(profile);
}

QVariant valueIn(const QByteArray &bytes, const QString &key) {
    for (const auto &e : qt48ini::parse(bytes, qt48ini::Codec::Latin1).entries) {
        if (e.key == key)
            return e.value;
    }
    return {};
}

// Gives every profile of the working file its own recognisable values.
void personalise(const QString &path) {
    QSettings s(path, qt48IniFormat());
    for (int p = 0; p < 6; ++p) {
        s.setValue(k("profile_fw", p), ProfileFiles::numbers(128, 10 * p));
        s.setValue(k("matrix_fw", p), ProfileFiles::numbers(128, 10 * p + 1));
        s.setValue(k("other_fw", p), ProfileFiles::numbers(128, 10 * p + 2));
        s.setValue(k("profile_sw", p), QVariantList{p % 2 == 0, p, p + 1, p + 2});
    }
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void init() { vmouse::reset(); }

    void exportThenImportIntoAnotherSlot() {
        ProfileFiles files;
        QVERIFY(files.ready());
        personalise(files.working());
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();

        const QString pf = files.path("two.pf");
        dialogs.fileAnswers.enqueue(pf);
        store.q7_saveProfile(2);
        QCOMPARE(dialogs.shown.last().kind, QStringLiteral("save"));
        QCOMPARE(dialogs.shown.last().title, QStringLiteral("Save File"));
        QCOMPARE(dialogs.shown.last().filter, QStringLiteral("Profile(*.pf)"));
        QCOMPARE(dialogs.shown.last().text,
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        QCOMPARE(ProfileFiles::onDisk(pf, "common/importProfile").toInt(), 2);
        // The export is a copy of the whole working file.
        QCOMPARE(ProfileFiles::bytes(pf), ProfileFiles::bytes(files.working()));

        dialogs.fileAnswers.enqueue(pf);
        store.q7_loadProfile(4);
        QCOMPARE(dialogs.shown.last().title, QStringLiteral("Open File"));
        for (const QString &g : groups)
            QCOMPARE(ProfileFiles::onDisk(files.working(), k(g, 4)),
                     ProfileFiles::onDisk(pf, k(g, 2)));
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Firmware, 4)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 20)));
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Other, 4)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 22)));
        // The other slots are as they were.
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Matrix, 3)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 31)));
        QCOMPARE(dialogs.count("warning"), 0);
    }

    void importWithoutMarkerTakesProfileZero() {
        ProfileFiles files;
        personalise(files.working());
        const QString pf = files.path("plain.pf");
        QVERIFY(QFile::copy(files.working(), pf));
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        dialogs.fileAnswers.enqueue(pf);
        store.q7_loadProfile(5);
        for (const QString &g : groups)
            QCOMPARE(ProfileFiles::onDisk(files.working(), k(g, 5)),
                     ProfileFiles::onDisk(pf, k(g, 0)));
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Matrix, 5)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 1)));
    }

    void importOfAForeignFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not ini") << QByteArray("\x89PNG\r\n\x1a\n\0\0garbage=", 18);
        QTest::newRow("short block") << QByteArray("[profile_fw]\n0=1, 2, 3\n");
        QTest::newRow("marker out of range")
            << QByteArray("[common]\nimportProfile=9\n[profile_fw]\n9=1, 2\n");
    }
    void importOfAForeignFileChangesNothing() {
        QFETCH(QByteArray, content);
        ProfileFiles files;
        const QString foreign = files.path("foreign.pf");
        {
            QFile f(foreign);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const QByteArray before = ProfileFiles::bytes(files.working());
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        store.setMessageStrings([] { return QStringList{"Import", "Not a profile file"}; });
        dialogs.fileAnswers.enqueue(foreign);
        store.q7_loadProfile(3);
        store.profileSettings()->sync();
        QCOMPARE(dialogs.count("warning"), 1);
        QCOMPARE(dialogs.shown.last().title, QStringLiteral("Import"));
        QCOMPARE(dialogs.shown.last().text, QStringLiteral("Not a profile file"));
        QCOMPARE(ProfileFiles::bytes(files.working()), before);
    }

    void cancelledDialogsWriteNothing() {
        ProfileFiles files;
        const QByteArray before = ProfileFiles::bytes(files.working());
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        store.q7_saveProfile(1);
        store.q7_loadProfile(1);
        store.profileSettings()->sync();
        QCOMPARE(dialogs.count("save") + dialogs.count("open"), 2);
        QCOMPARE(ProfileFiles::bytes(files.working()), before);
        // The import still reloaded the store from the file.
        QCOMPARE(store.list(ProfileStore::Firmware, 1).at(70).toUInt(), 8u);
    }

    void exportOntoTheWorkingFileKeepsIt() {
        ProfileFiles files;
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        dialogs.fileAnswers.enqueue(files.working());
        store.q7_saveProfile(3);
        QVERIFY(QFile::exists(files.working()));
        QCOMPARE(ProfileFiles::onDisk(files.working(), "common/importProfile").toInt(), 3);
        QCOMPARE(ProfileFiles::onDisk(files.working(), "profile_fw/3").toList().size(), 128);
    }

    void resetRestoresProfileZeroAndTheOne() {
        ProfileFiles files;
        personalise(files.working());
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        const QByteArray before = ProfileFiles::bytes(files.working());
        store.q7_resetProfile(3);
        for (const QString &g : groups) {
            for (int p = 0; p < 6; ++p) {
                const QVariant now = ProfileFiles::onDisk(files.working(), k(g, p));
                if (p == 0 || p == 3)
                    QCOMPARE(now, ProfileFiles::onDisk(files.defaults(), k(g, p)));
                else
                    QCOMPARE(now, valueIn(before, k(g, p)));
            }
        }
        // Profiles 1, 2, 4, 5 keep their own values, in the file and in memory.
        QCOMPARE(ProfileFiles::uints(ProfileFiles::onDisk(files.working(), "matrix_fw/4")),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 41)));
        QCOMPARE(ProfileFiles::onDisk(files.working(), "profile_sw/5").toStringList(),
                 (QStringList{"false", "5", "6", "7"}));
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Other, 2)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 22)));
        QCOMPARE(store.list(ProfileStore::Firmware, 3).at(70).toUInt(), 8u);
        QCOMPARE(store.list(ProfileStore::Firmware, 0).at(70).toUInt(), 8u);
    }

    void dirtyMarkingOnlyWhileUnlinked() {
        ProfileFiles files;
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();

        store.setDeviceLinked(true);
        const QByteArray before = ProfileFiles::bytes(files.working());
        store.list(ProfileStore::Other, 2)[1] = 8;
        store.q7_SetDirty_Other(2);
        store.profileSettings()->sync();
        QCOMPARE(ProfileFiles::bytes(files.working()), before);

        store.setDeviceLinked(false);
        store.list(ProfileStore::Matrix, 1)[5] = 300;
        store.q7_SetDirty_Matrix(1);
        store.q7_SetDirty_Matrix(77); // out of range: ignored, no crash
        store.profileSettings()->sync();
        QCOMPARE(ProfileFiles::onDisk(files.working(), "matrix_fw/dirty").toStringList(),
                 (QStringList{"false", "true", "false", "false", "false", "false"}));
        QCOMPARE(ProfileFiles::uints(ProfileFiles::onDisk(files.working(), "matrix_fw/1")),
                 ProfileFiles::uints(store.list(ProfileStore::Matrix, 1)));
        QCOMPARE(ProfileFiles::onDisk(files.working(), "matrix_fw/1").toList().at(5).toUInt(),
                 300u);
        QCOMPARE(
            ProfileFiles::onDisk(files.working(), "other_fw/dirty").toStringList().count("true"),
            0);
    }

    void dirtyListsOfTheWrongLengthStartClean() {
        ProfileFiles files;
        {
            QSettings s(files.working(), qt48IniFormat());
            s.setValue("profile_fw/dirty", QVariantList{true, true, true, true, true});
            s.setValue("matrix_fw/dirty",
                       QVariantList{true, false, false, false, false, false, true});
            s.remove("other_fw/dirty");
        }
        ProfileStore store(files.working(), files.defaults());
        for (auto g : {ProfileStore::Firmware, ProfileStore::Matrix, ProfileStore::Other})
            QCOMPARE(store.dirtyFlags(g), QVariantList(6, false));
    }

    void damagedFilesAreCompleted() {
        ProfileFiles files;
        {
            QSettings s(files.working(), qt48IniFormat());
            s.setValue("profile_fw/1", QVariantList{7, 7, 7});        // short
            s.setValue("matrix_fw/2", ProfileFiles::numbers(200, 3)); // long
            s.setValue("other_fw/3", QStringLiteral("oops"));         // not a list
            s.remove("profile_fw/4");                                 // missing
            s.setValue("profile_sw/5", QVariantList{true, 9});        // short
            s.setValue("common/curProfile", 42);                      // out of range
        }
        {
            QSettings d(files.defaults(), qt48IniFormat());
            d.remove("profile_fw/4"); // missing in the defaults too: zeros
        }
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        QCOMPARE(store.curProfile(), uchar(0));
        const QVariantList fw1 = store.list(ProfileStore::Firmware, 1);
        QCOMPARE(fw1.size(), 128);
        QCOMPARE(fw1.at(2).toUInt(), 7u);
        QCOMPARE(fw1.at(70).toUInt(), 8u); // from the defaults
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Matrix, 2)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 3)));
        QCOMPARE(store.list(ProfileStore::Other, 3).at(0).toUInt(), 2u);
        QCOMPARE(store.list(ProfileStore::Firmware, 4), QVariantList(128, 0));
        store.profileSettings()->sync();
        QCOMPARE(ProfileFiles::onDisk(files.working(), "profile_sw/5").toStringList(),
                 (QStringList{"true", "9", "2", "5"}));
    }

    void missingWorkingFileFallsBackToTheDefaults() {
        ProfileFiles files;
        QVERIFY(QFile::remove(files.working()));
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        for (int p = 0; p < 6; ++p) {
            QCOMPARE(store.list(ProfileStore::Firmware, p).size(), 128);
            QCOMPARE(store.list(ProfileStore::Matrix, p).at(0).toUInt(), 1u);
        }
        QCOMPARE(ProfileFiles::uints(store.q7_getDefaultProfile("profile_sw", 3)),
                 (QList<uint>{0, 5, 2, 5}));
        QCOMPARE(store.q7_getDefaultProfile("profile_fw", 9), QVariantList());
    }

    void refillFromTheMouse() {
        vmouse::State st = vmouse::factoryState();
        st.currentProfile = 3;
        for (int p = 0; p < 6; ++p) {
            st.profiles[p][0] = std::uint8_t(0xA0 + p);
            st.matrices[p][127] = std::uint8_t(0xB0 + p);
            st.dpiStage[p] = std::uint8_t(1 + p);
            st.reportRate[p] = std::uint8_t(p % 2 ? 4 : 8);
        }
        st.ledTwinkle = 0;
        vmouse::setState(st);

        ProfileFiles files;
        MS_HT66FB560 dev;
        QVERIFY(linkDevice(dev, {"Old", "Q7"}, "04d9", "a1b7", ""));
        ProfileStore store(files.working(), files.defaults());
        store.setDevice(&dev);
        store.setDeviceLinked(true);
        vmouse::clearLog();
        store.syncFromDevice();

        // 82H, then per profile 8CH, 8DH, 84H, 83H, and 89H after profile 0's 83H.
        QList<QByteArray> expected = {QByteArray("\x82\x00", 2)};
        for (int p = 0; p < 6; ++p) {
            for (char c : {'\x8C', '\x8D', '\x84', '\x83'})
                expected.append(QByteArray(1, c) + char(p));
            if (p == 0)
                expected.append(QByteArray("\x89\x00", 2));
        }
        QList<QByteArray> seen;
        for (const auto &c : vmouse::commands())
            seen.append(QByteArray(reinterpret_cast<const char *>(c.data()) + 1, 2));
        QCOMPARE(seen.size(), 26);
        QCOMPARE(seen, expected);

        QCOMPARE(store.curProfile(), uchar(3));
        store.profileSettings()->sync();
        QCOMPARE(ProfileFiles::onDisk(files.working(), "common/curProfile").toUInt(), 3u);
        for (int p = 0; p < 6; ++p) {
            QList<uint> other(128, 0);
            other[0] = 1 + p;
            other[1] = p % 2 ? 4 : 8;
            QCOMPARE(ProfileFiles::uints(ProfileFiles::onDisk(files.working(), k("other_fw", p))),
                     other);
            QCOMPARE(
                ProfileFiles::onDisk(files.working(), k("profile_fw", p)).toList().at(0).toUInt(),
                0xA0u + p);
            QCOMPARE(store.list(ProfileStore::Matrix, p).at(127).toUInt(), 0xB0u + p);
        }
    }

    void refillWithAMouseThatDoesNotAnswer() {
        ProfileFiles files;
        MS_HT66FB560 dev;
        QVERIFY(linkDevice(dev, {"Old", "Q7"}, "04d9", "a1b7", ""));
        ProfileStore store(files.working(), files.defaults());
        store.setDevice(&dev);
        store.setDeviceLinked(true);
        vmouse::Faults f;
        f.failAnswer = true;
        vmouse::setFaults(f);
        store.syncFromDevice();
        QCOMPARE(store.curProfile(), uchar(1)); // the stored one
        for (int p = 0; p < 6; ++p) {
            QCOMPARE(store.list(ProfileStore::Firmware, p), QVariantList(128, 0));
            QCOMPARE(store.list(ProfileStore::Other, p), QVariantList(128, 0));
        }
    }

    void unlinkedRefillReadsTheFile() {
        ProfileFiles files;
        personalise(files.working());
        ProfileStore store(files.working(), files.defaults());
        store.setDeviceLinked(false);
        vmouse::clearLog();
        store.syncFromDevice();
        QVERIFY(vmouse::commands().empty());
        QCOMPARE(ProfileFiles::uints(store.list(ProfileStore::Firmware, 5)),
                 ProfileFiles::uints(ProfileFiles::numbers(128, 50)));
    }
};

QTEST_MAIN(TestStore)
#include "tst_store.moc"
