// The profile store: export, import, reset, dirty marking, completion of damaged files and
// the refill from the virtual mouse.
#include "DataPaths.h"
#include "ProfileFields.h"
#include "ScriptedDialogs.h"
#include "StoreDialogs.h"
#include "StoreRig.h"
#include "VirtualMouse.h"

#include <QDir>

#include <algorithm>


namespace {

const QStringList groups = {"profile_sw", "profile_fw", "matrix_fw", "other_fw"};

QList<uint> seq128(int first) { return seq(128, first); }

// "v, v, ..." n times, as a list is written.
QByteArray values(int n, const QByteArray &v) { return QByteArrayList(n, v).join(", "); }

// Gives every profile of the working file its own recognisable values: profile_fw/p counts up
// from 10 p, matrix_fw/p from 10 p + 1, other_fw/p from 10 p + 2.
void personalise(const QString &path) {
    QSettings s(path, qt48IniFormat());
    for (int p = 0; p < 6; ++p) {
        for (int g = 1; g < 4; ++g)
            s.setValue(blockKey(groups[g], p), numbers(128, 10 * p + g - 1));
        s.setValue(blockKey("profile_sw", p), QVariantList{p % 2 == 0, p, p + 1, p + 2});
    }
}

void personaliseWorking(ProfileFiles &files) { personalise(files.working()); }

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
        StoreDialogs asks(store, {});
        store.loadAllProfiles();

        const QString pf = files.path("two.pf");
        dialogs.fileAnswers.enqueue(pf);
        asks.saveProfile(2);
        const auto &save = dialogs.shown.last();
        QCOMPARE((QStringList{save.kind, save.title, save.filter, save.text}),
                 (QStringList{"save", "Save File", "Profile(*.pf)",
                              QDir(DataPaths::exchangeFolder()).filePath("P02.pf")}));
        QCOMPARE(onDisk(pf, "common/importProfile").toInt(), 2);
        // The export is a copy of the whole working file.
        QCOMPARE(bytesOf(pf), bytesOf(files.working()));

        dialogs.fileAnswers.enqueue(pf);
        asks.loadProfile(4);
        QCOMPARE(dialogs.shown.last().title, QStringLiteral("Open File"));
        for (const QString &g : groups)
            QCOMPARE(files.stored(blockKey(g, 4)), onDisk(pf, blockKey(g, 2)));
        // The lists in memory follow; the other slots are as they were.
        QCOMPARE(uints(store.list(ProfileStore::Firmware, 4)), seq128(20));
        QCOMPARE(uints(store.list(ProfileStore::Other, 4)), seq128(22));
        QCOMPARE(uints(store.list(ProfileStore::Matrix, 3)), seq128(31));

        // A file without "common/importProfile" gives its profile 0.
        const QString plain = files.path("plain.pf");
        QVERIFY(QFile::copy(files.defaults(), plain));
        personalise(plain);
        QVERIFY(!onDisk(plain, "common/importProfile").isValid());
        dialogs.fileAnswers.enqueue(plain);
        asks.loadProfile(5);
        for (const QString &g : groups)
            QCOMPARE(files.stored(blockKey(g, 5)), onDisk(plain, blockKey(g, 0)));
        QCOMPARE(uints(store.list(ProfileStore::Matrix, 5)), seq128(1));
        QCOMPARE(dialogs.count("warning"), 0);
    }

    // What the import takes is checked whole before the working file sees any of it: a refused
    // file leaves it byte for byte as it was, and the user is told why (message string k here
    // reads "m<k>"). The empty message is the one file taken: every list at its limits.
    void importTakesOnlyWholeProfilesInRange_data() {
        QTest::addColumn<QString>("kind"); // "file", "fifo", "folder", "device"
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QByteArray fw = "[profile_fw]\n3=" + values(128, "7") + "\n";
        const QByteArray head = "[common]\nimportProfile=3\n";
        const QByteArray sw = "[profile_sw]\n3=";
        QTest::newRow("limits") << "file"
            << head + fw + "[matrix_fw]\n3=" + values(127, "0") + ", 255\n" + sw + "true, 10, 0, 10\n"
            << "";
        QTest::newRow("not ini") << "file" << QByteArray("\x89PNG\r\n\x1a\n\0\0garbage=", 18) << "m1";
        QTest::newRow("marker out of range")
            << "file" << QByteArray("[common]\nimportProfile=9\n[profile_fw]\n9=1, 2\n") << "m1";
        QTest::newRow("no firmware block") << "file" << head + sw + "true, 1, 2, 3\n" << "m1";
        QTest::newRow("127 values") << "file" << head + "[profile_fw]\n3=" + values(127, "7") << "m14";
        QTest::newRow("129 values") << "file" << head + "[profile_fw]\n3=" + values(129, "7") << "m14";
        QTest::newRow("256") << "file" << head + fw + "[other_fw]\n3=256, " + values(127, "0") << "m14";
        QTest::newRow("-1") << "file" << head + fw + "[matrix_fw]\n3=-1, " + values(127, "0") << "m14";
        QTest::newRow("not a number") << "file" << head + fw + "[other_fw]\n3=x, " + values(127, "0") << "m14";
        QTest::newRow("pointer list of 5") << "file" << head + fw + sw + "true, 1, 2, 3, 4\n" << "m14";
        QTest::newRow("pointer position 11") << "file" << head + fw + sw + "false, 11, 2, 3\n" << "m14";
        QTest::newRow("acceleration 2") << "file" << head + fw + sw + "2, 1, 2, 3\n" << "m14";
        QTest::newRow("700,000 elements") << "file" << head + fw + sw + values(700000, "0") << "m13";
        QTest::newRow("over the cap")
            << "file" << head + fw + "; " + QByteArray(1024 * 1024, 'x') + "\n" << "m13";
        QTest::newRow("fifo") << "fifo" << QByteArray() << "m12";
        QTest::newRow("folder") << "folder" << QByteArray() << "m12";
        QTest::newRow("device") << "device" << QByteArray() << "m12";
    }
    void importTakesOnlyWholeProfilesInRange() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        ProfileFiles files;
        const QString picked = pickable(kind, files.path("picked.pf"), content);
        QVERIFY(!picked.isEmpty());
        const QByteArray before = bytesOf(files.working());
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        const QVariantList slotBefore = store.list(ProfileStore::Matrix, 1);
        QStringList strings;
        for (int k = 0; k < 16; ++k)
            strings << QStringLiteral("m%1").arg(k);
        StoreDialogs asks(store, [strings] { return strings; });
        dialogs.fileAnswers.enqueue(picked);
        asks.loadProfile(1);
        store.profileSettings()->sync();
        if (message.isEmpty()) {
            QCOMPARE(dialogs.count("warning"), 0);
            QCOMPARE(uints(store.list(ProfileStore::Matrix, 1)).last(), 255u);
            QCOMPARE(files.stored("profile_sw/1").toStringList(),
                     (QStringList{"true", "10", "0", "10"}));
            return;
        }
        QCOMPARE(dialogs.count("warning"), 1);
        QCOMPARE(dialogs.shown.last().title, QStringLiteral("m0"));
        QCOMPARE(dialogs.shown.last().text, message);
        QCOMPARE(bytesOf(files.working()), before);
        QCOMPARE(store.list(ProfileStore::Matrix, 1), slotBefore);
    }

    // Cancelled dialogs write nothing; an export onto the working file itself keeps it.
    void cancelledAndSelfExports() {
        ProfileFiles files;
        const QByteArray before = bytesOf(files.working());
        ScriptedDialogs dialogs;
        ProfileStore store(files.working(), files.defaults());
        StoreDialogs asks(store, {});
        asks.saveProfile(1);
        asks.loadProfile(1);
        store.profileSettings()->sync();
        QCOMPARE(dialogs.count("save") + dialogs.count("open"), 2);
        QCOMPARE(bytesOf(files.working()), before);
        // The import still reloaded the store from the file.
        QCOMPARE(store.list(ProfileStore::Firmware, 1).at(70).toUInt(), 8u);

        dialogs.fileAnswers.enqueue(files.working());
        asks.saveProfile(3);
        QCOMPARE(files.stored("common/importProfile").toInt(), 3);
        QCOMPARE(files.stored("profile_fw/3").toList().size(), 128);

        // An export that wrote nothing says so.
        QVERIFY(!store.exportProfile(2, files.path("no/such/folder/two.pf")));
        QVERIFY(!store.exportProfile(6, files.path("six.pf")));
        QVERIFY(!QFile::exists(files.path("six.pf")));
    }

    void resetRestoresProfileZeroAndTheOne() {
        ProfileFiles files;
        personalise(files.working());
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        const QByteArray before = bytesOf(files.working());
        store.resetProfile(3);
        for (const QString &g : groups) {
            for (int p = 0; p < 6; ++p) {
                const QString key = blockKey(g, p);
                QCOMPARE(files.stored(key),
                         p == 0 || p == 3 ? onDisk(files.defaults(), key) : valueIn(before, key));
            }
        }
        // Memory follows: profiles 0 and 3 from the defaults, the others keep their own.
        QCOMPARE(store.list(ProfileStore::Firmware, 3).at(70).toUInt(), 8u);
        QCOMPARE(store.list(ProfileStore::Firmware, 0).at(70).toUInt(), 8u);
        QCOMPARE(uints(store.list(ProfileStore::Other, 2)), seq128(22));
    }

    void damagedFilesAreCompleted() {
        ProfileFiles files;
        {
            QSettings s(files.working(), qt48IniFormat());
            s.setValue("profile_fw/1", QVariantList{7, 7, 7}); // short
            s.setValue("matrix_fw/2", numbers(200, 3));        // long
            s.setValue("other_fw/3", QStringLiteral("oops"));  // not a list
            s.remove("profile_fw/4");                          // missing
            s.setValue("profile_sw/5", QVariantList{true, 9}); // short
            s.setValue("common/curProfile", 42);               // out of range
            // Dirty lists of the wrong length start clean.
            s.setValue("profile_fw/dirty", QVariantList{true, true, true, true, true});
            s.setValue("matrix_fw/dirty",
                       QVariantList{true, false, false, false, false, false, true});
            s.remove("other_fw/dirty");
            QSettings(files.defaults(), qt48IniFormat()).remove("profile_fw/4"); // zeros then
        }
        ProfileStore store(files.working(), files.defaults());
        store.loadAllProfiles();
        QCOMPARE(store.curProfile(), uchar(0));
        for (auto g : {ProfileStore::Firmware, ProfileStore::Matrix, ProfileStore::Other})
            QCOMPARE(store.dirtyFlags(g), QVariantList(6, false));
        const QVariantList fw1 = store.list(ProfileStore::Firmware, 1);
        QCOMPARE(fw1.size(), 128);
        QCOMPARE(fw1.at(2).toUInt(), 7u);
        QCOMPARE(fw1.at(70).toUInt(), 8u); // from the defaults
        QCOMPARE(uints(store.list(ProfileStore::Matrix, 2)), seq128(3));
        QCOMPARE(store.list(ProfileStore::Other, 3).at(0).toUInt(), 2u);
        QCOMPARE(store.list(ProfileStore::Firmware, 4), QVariantList(128, 0));
        QCOMPARE(store.pointerSettings(5).size(), 4);
        QCOMPARE(store.pointerSettings(5).at(1).toUInt(), 9u);
        QCOMPARE(store.pointerSettings(5).at(3).toUInt(), 5u); // from the defaults
        QCOMPARE(store.defaultProfile("profile_fw", 9), QVariantList()); // no profile 9
        // Reading repairs nothing in the file: it changes only when the user applies a page.
        store.profileSettings()->sync();
        QCOMPARE(files.stored("profile_sw/5").toStringList(), (QStringList{"true", "9"}));
    }

    // A refill reads 82H, then per profile 8CH, 8DH, 84H, 83H, and 89H after profile 0's 83H.
    // A refill that loses the mouse keeps what it had for everything not read whole: the
    // mouse is pulled out at the start of each of the 26 exchanges in turn, and between the
    // two data reports of each block. Each value read before the cut is the mouse's, every
    // other one is what the file held (never zeros from a failed or partial read), and the
    // file reads back with every list complete.
    void refillWholeOrInterruptedAnywhere() {
        vmouse::State mouse = vmouse::factoryState();
        mouse.currentProfile = 4;
        for (int p = 0; p < 6; ++p) {
            for (int i = 0; i < 128; ++i) {
                mouse.profiles[p][i] = std::uint8_t(200 + p + i);
                mouse.matrices[p][i] = std::uint8_t(100 + 3 * p + i);
            }
            mouse.dpiStage[p] = std::uint8_t(8 - p);
            mouse.reportRate[p] = std::uint8_t(p % 2 ? 4 : 8);
        }
        mouse.ledTwinkle = 1;
        vmouse::setState(mouse);

        // Where each exchange of a whole refill begins, and where a block's second report
        // is read, counted in calls on the command interface as the fault counts them.
        struct Exchange {
            int code = 0, profile = 0, firstCall = 0, secondReport = 0;
        };
        std::vector<Exchange> exchanges;
        {
            StoreRig rig;
            rig.plugIn();
            vmouse::clearLog();
            rig.store.syncFromDevice();
            QCOMPARE(sentCodes().join(' '),
                     "8200 8c00 8d00 8400 8300 8900 8c01 8d01 8401 8301 8c02 8d02 8402 "
                     "8302 8c03 8d03 8403 8303 8c04 8d04 8404 8304 8c05 8d05 8405 8305");
            int call = 0, reads = 0;
            for (const auto &e : vmouse::log()) {
                if (e.path != vmouse::commandPath || e.dir == vmouse::Dir::Close)
                    continue;
                ++call;
                if (e.dir == vmouse::Dir::Open) {
                    exchanges.push_back({0, 0, call, 0});
                    reads = 0;
                } else if (e.dir == vmouse::Dir::FeatureOut) {
                    exchanges.back().code = e.clear.at(1);
                    exchanges.back().profile = e.clear.at(2);
                } else if (e.dir == vmouse::Dir::Input && ++reads == 2) {
                    exchanges.back().secondReport = call;
                }
            }
        }
        QCOMPARE(int(exchanges.size()), 26);

        std::vector<std::pair<int, int>> cuts{{26, 0}}; // (exchange, call); the first: no cut
        for (int x = 0; x < 26; ++x) {
            cuts.emplace_back(x, exchanges[x].firstCall);
            if (exchanges[x].secondReport)
                cuts.emplace_back(x, exchanges[x].secondReport);
        }
        QCOMPARE(int(cuts.size()), 1 + 26 + 12);

        for (const auto &[cutExchange, cutCall] : cuts) {
            const QByteArray where = QByteArray::number(cutExchange) + "/" +
                                     QByteArray::number(cutCall);
            vmouse::setFaults({});
            StoreRig rig(personaliseWorking);
            rig.plugIn();
            vmouse::Faults cut;
            cut.unplugAtCall = cutCall;
            vmouse::setFaults(cut);
            rig.store.syncFromDevice();
            QVERIFY2(vmouse::unplugged() == (cutCall != 0), where);

            auto read = [&](int code, int profile) {
                return std::any_of(exchanges.begin(), exchanges.begin() + cutExchange,
                                   [&](auto &e) { return e.code == code && e.profile == profile; });
            };
            const uint current = read(0x82, 0) ? 4 : 1;
            QCOMPARE(uint(rig.store.curProfile()), current);
            QCOMPARE(rig.stored("common/curProfile").toUInt(), current);
            for (int p = 0; p < 6; ++p) {
                QList<uint> fw = seq128(10 * p), matrix = seq128(10 * p + 1),
                            other = seq128(10 * p + 2);
                if (read(0x8C, p))
                    fw = valuesOf(mouse.profiles[p]);
                if (read(0x8D, p))
                    matrix = valuesOf(mouse.matrices[p]);
                if (read(0x84, p))
                    other[0] = mouse.dpiStage[p];
                if (read(0x83, p))
                    other[1] = mouse.reportRate[p];
                if (p == 0 && read(0x89, 0))
                    other[2] = mouse.ledTwinkle;
                const QList<uint> expected[] = {fw, matrix, other}; // by ProfileStore::Group
                for (int g = 0; g < 3; ++g) {
                    const QByteArray what = where + " " + blockKey(groups[g + 1], p).toLatin1();
                    QVERIFY2(uints(rig.store.list(ProfileStore::Group(g), p)) == expected[g], what);
                    QVERIFY2(uints(rig.stored(blockKey(groups[g + 1], p))) == expected[g], what);
                }
            }
        }
    }

    // A mouse that takes commands but stops sending ends the refill at its first failed
    // read: nothing more goes over the wire (one time-out, not one per block), what could
    // not be read keeps its stored value, and edits from then on are recorded as made
    // without the mouse.
    void silentMouseEndsTheRefill() {
        StoreRig rig(personaliseWorking);
        rig.plugIn();
        vmouse::Faults silent;
        silent.silent = true;
        vmouse::setFaults(silent);
        vmouse::clearLog();
        rig.store.syncFromDevice();

        int reads = 0;
        for (const auto &e : vmouse::log())
            reads += e.dir == vmouse::Dir::Input && e.path == vmouse::commandPath;
        QCOMPARE(sentCodes().join(' '), QString("8200 8c00"));
        QCOMPARE(reads, 1);
        QVERIFY(!rig.store.deviceLinked());
        for (int p = 0; p < 6; ++p)
            QCOMPARE(uints(rig.store.list(ProfileStore::Firmware, p)), seq128(10 * p));

        QVERIFY(rig.store.setValues(profileFields::reportRate, 2, {4}));
        QCOMPARE(rig.stored("other_fw/dirty").toStringList().value(2), QString("true"));
    }
};

QTEST_MAIN(TestStore)
#include "tst_store.moc"
