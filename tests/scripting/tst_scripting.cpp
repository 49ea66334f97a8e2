// The command line's commands without a running window: each one's effect on the mouse and
// the profile file, its exit code and what it says, against the preloaded virtual mouse.
#include "BlockLayout.h"
#include "ProgramCopy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace at = layout::profileFw;
namespace other = layout::otherFw;

class TestScripting : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramCopy> copy;

    // Every profile told apart from the others, profile 2 current.
    static vmouse::State distinctMouse() {
        vmouse::State s = vmouse::factoryState();
        s.currentProfile = 2;
        for (int p = 1; p <= 5; ++p) {
            s.reportRate[p] = std::uint8_t(1 << (p % 4)); // 1000, 500, 250, 125, 1000 Hz
            s.dpiStage[p] = std::uint8_t(p);
            s.profiles[p][at::stageCount] = std::uint8_t(p + 3);
            s.profiles[p][at::effect] = std::uint8_t(p);
            s.profiles[p][at::brightness] = std::uint8_t(p * 50);
            for (int i = 0; i < at::stages; ++i)
                s.profiles[p][at::dpi + i] = s.profiles[p][at::dpiCopy + i] =
                    std::uint8_t(8 * (i + 1) + p);
        }
        // 7950 DPI: the firmware's own coding of step 159.
        s.profiles[3][at::dpi] = s.profiles[3][at::dpiCopy] = std::uint8_t(layout::dpiStored159);
        return s;
    }

    static bool sameMouse(const vmouse::State &a, const vmouse::State &b) {
        return a.profiles == b.profiles && a.matrices == b.matrices &&
               a.currentProfile == b.currentProfile && a.reportRate == b.reportRate &&
               a.dpiStage == b.dpiStage;
    }

private Q_SLOTS:
    void init() {
        copy = std::make_unique<ProgramCopy>();
        QVERIFY(copy->ready());
        QVERIFY(copy->setMouse(distinctMouse()));
    }

    void statusJsonTellsEveryField() {
        const ProgramCopy::Run r = copy->run({"status", "--json"});
        QCOMPARE(r.code, 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.value("format").toInt(), 1);
        QCOMPARE(o.value("mouseFound").toBool(), true);
        QCOMPARE(o.value("firmwareVersion").toString(), QString("1.0A"));
        QCOMPARE(o.value("currentProfile").toInt(), 2);
        const QJsonArray profiles = o.value("profiles").toArray();
        QCOMPARE(profiles.size(), 5);
        const int hz[] = {0, 500, 250, 125, 1000, 500};
        const char *names[] = {"", "STATIC", "TWINKLING", "BREATHING", "NEON", "WAVE"};
        for (int p = 1; p <= 5; ++p) {
            const QJsonObject q = profiles[p - 1].toObject();
            QCOMPARE(q.value("profile").toInt(), p);
            QCOMPARE(q.value("reportRateHz").toInt(), hz[p]);
            QCOMPARE(q.value("currentStage").toInt(), p);
            QCOMPARE(q.value("effect").toInt(), p);
            QCOMPARE(q.value("effectName").toString(), QString(names[p]));
            // 50 * p of 255, in the page's seven steps.
            QCOMPARE(q.value("brightness").toInt(), qRound(p * 50 * 7 / 255.0));
            const QJsonArray dpis = q.value("dpiStages").toArray();
            QCOMPARE(dpis.size(), p + 3);
            for (int i = 1; i < dpis.size(); ++i)
                QCOMPARE(dpis[i].toInt(), (8 * (i + 1) + p) * 50);
            QCOMPARE(dpis[0].toInt(), p == 3 ? 7950 : (8 + p) * 50);
        }
        QCOMPARE(r.err, QString());

        // The text form tells the same, one line a profile.
        const ProgramCopy::Run text = copy->run({"status"});
        QCOMPARE(text.code, 0);
        QVERIFY2(text.out.contains("firmware 1.0A") && text.out.contains("Current profile: 2") &&
                     text.out.contains("Profile 3: 125 Hz, DPI 7950 950 1350* 1750 2150 2550"),
                 qPrintable(text.out));
    }

    // Each setting lands on the mouse and in the file, for the current profile or another.
    void setChangesMouseAndFile_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("profile");
        QTest::addColumn<int>("offset"); // into the firmware block, or -1 - the other value
        QTest::addColumn<int>("value");
        QTest::newRow("rate") << QStringList{"rate", "125"} << 2 << -1 - other::reportRate << 8;
        QTest::newRow("rate of another") << QStringList{"rate", "250", "--profile", "5"} << 5
                                         << -1 - other::reportRate << 4;
        QTest::newRow("stage") << QStringList{"stage", "4"} << 2 << -1 - other::dpiStage << 4;
        // Profile 4 is on stage 4; 7950 is the step the firmware keeps in its own coding.
        QTest::newRow("dpi of the current stage")
            << QStringList{"dpi", "7950", "--profile", "4"} << 4 << at::dpi + 3
            << int(layout::dpiStored159);
        QTest::newRow("dpi, its copy too")
            << QStringList{"dpi", "1600", "--profile", "4"} << 4 << at::dpiCopy + 3 << 32;
        QTest::newRow("effect by name") << QStringList{"effect", "wAvE"} << 2 << at::effect << 5;
        QTest::newRow("effect by number") << QStringList{"effect", "9", "--profile", "1"} << 1
                                          << at::effect << 9;
        QTest::newRow("brightness") << QStringList{"brightness", "7", "--profile", "3"} << 3
                                    << at::brightness << 255;
    }
    void setChangesMouseAndFile() {
        QFETCH(QStringList, arguments);
        QFETCH(int, profile);
        QFETCH(int, offset);
        QFETCH(int, value);
        const vmouse::State before = copy->mouse();
        const ProgramCopy::Run r = copy->run(QStringList{"set"} + arguments);
        QCOMPARE(r.code, 0);
        const vmouse::State after = copy->mouse();
        const bool otherValue = offset < 0;
        const int index = otherValue ? -1 - offset : offset;
        const int onMouse = !otherValue                  ? after.profiles[profile][index]
                            : index == other::reportRate ? after.reportRate[profile]
                                                         : after.dpiStage[profile];
        QCOMPARE(onMouse, value);
        QCOMPARE(copy->stored(QString(otherValue ? "other_fw/%1" : "profile_fw/%1").arg(profile))
                     .value(index),
                 value);
        QVERIFY(!copy->marks(otherValue ? "other_fw" : "profile_fw").contains("true"));
        // Nothing else moved: the current profile, the other profiles.
        QCOMPARE(after.currentProfile, before.currentProfile);
        for (int p = 0; p < 6; ++p)
            if (p != profile)
                QVERIFY(after.profiles[p] == before.profiles[p]);
    }

    // A changed effect keeps the speed the slider showed for the old one: breathing (speed
    // 1..10) at byte 4 is slider position 5 of 7; neon has the same range, so byte 4 again.
    void effectKeepsTheSpeedSlider() {
        vmouse::State s = copy->mouse();
        s.profiles[2][at::effect] = 3;
        s.profiles[2][at::speed] = 4;
        QVERIFY(copy->setMouse(s));
        QCOMPARE(copy->run({"set", "effect", "neon"}).code, 0);
        QCOMPARE(int(copy->mouse().profiles[2][at::speed]), 4);
        QCOMPARE(int(copy->mouse().profiles[2][at::brightness]), 100);
    }

    void profileSwitchesTheMouse() {
        QCOMPARE(copy->run({"profile", "4"}).code, 0);
        QCOMPARE(int(copy->mouse().currentProfile), 4);
    }

    void exportThenImportCopiesAProfile() {
        const QString file = copy->file("fps.pf");
        QCOMPARE(copy->run({"export", "3", "fps.pf"}).code, 0); // relative to the caller
        QCOMPARE(copy->run({"import", "5", file}).code, 0);
        const vmouse::State after = copy->mouse();
        QVERIFY(after.profiles[5] == after.profiles[3]);
        QCOMPARE(after.reportRate[5], after.reportRate[3]);
        QCOMPARE(after.dpiStage[5], after.dpiStage[3]);
        QCOMPARE(copy->stored("profile_fw/5"), copy->stored("profile_fw/3"));
    }

    // Refused arguments, and files the window's import refuses too, change neither the mouse
    // nor the file, and the message says why.
    void badArgumentsChangeNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("rate 333") << QStringList{"set", "rate", "333"} << "125, 250, 500, 1000";
        // Profile 2 offers five stages.
        QTest::newRow("stage 9") << QStringList{"set", "stage", "9"} << "from 1 to 5";
        QTest::newRow("stage past the mouse's") << QStringList{"set", "stage", "6"} << "1 to 5";
        QTest::newRow("profile 7") << QStringList{"profile", "7"} << "1 to 5";
        QTest::newRow("profile 0") << QStringList{"profile", "0"} << "1 to 5";
        QTest::newRow("--profile 7") << QStringList{"set", "rate", "125", "--profile", "7"}
                                     << "1 to 5";
        QTest::newRow("dpi not offered") << QStringList{"set", "dpi", "850"} << "7950";
        QTest::newRow("effect not listed") << QStringList{"set", "effect", "spotlight"} << "wave";
        QTest::newRow("brightness 8") << QStringList{"set", "brightness", "8"} << "0 to 7";
        QTest::newRow("unknown setting") << QStringList{"set", "colour", "red"} << "rate, dpi";
        QTest::newRow("missing value") << QStringList{"set", "rate"} << "usage";
        QTest::newRow("export without file") << QStringList{"export", "1"} << "usage";
        QTest::newRow("--json elsewhere") << QStringList{"profile", "2", "--json"} << "status";
        QTest::newRow("import not a profile file") << QStringList{"import", "2", "text.pf"}
                                                   << "not a profile file";
        QTest::newRow("import a folder") << QStringList{"import", "2", "folder.pf"}
                                         << "not a regular file";
        QTest::newRow("import too large") << QStringList{"import", "2", "large.pf"} << "too large";
    }
    void badArgumentsChangeNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QVERIFY(writeFile(copy->file("text.pf"), "[General]\nx=1\n") &&
                writeFile(copy->file("large.pf"), QByteArray(1024 * 1024 + 1, 'x')) &&
                QDir().mkpath(copy->file("folder.pf")));
        QCOMPARE(copy->run({"status"}).code, 0); // the file now holds the mouse's values
        const QByteArray file = copy->profileBytes();
        const vmouse::State mouse = copy->mouse();
        const ProgramCopy::Run r = copy->run(arguments);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
        QCOMPARE(r.out, QString());
        QVERIFY(sameMouse(copy->mouse(), mouse));
        QCOMPARE(copy->profileBytes(), file);
    }

    // Unplugged, a change waits in the file, marked as the window marks its own, and so does a
    // profile switch; status says what the file holds.
    void unpluggedKeepsTheChangeMarked() {
        const vmouse::State mouse = copy->mouse();
        const ProgramCopy::Run r = copy->run({"set", "rate", "250", "--profile", "3"}, "absent");
        QCOMPARE(r.code, 3);
        QVERIFY2(r.err.contains("No mouse"), qPrintable(r.err));
        QVERIFY(sameMouse(copy->mouse(), mouse));
        QCOMPARE(copy->stored("other_fw/3").value(other::reportRate), 4);
        QCOMPARE(copy->marks("other_fw").value(3), QString("true"));
        QCOMPARE(copy->run({"profile", "5"}, "absent").code, 3);
        QCOMPARE(int(copy->mouse().currentProfile), 2);

        const ProgramCopy::Run status = copy->run({"status", "--json"}, "absent");
        QCOMPARE(status.code, 3);
        const QJsonObject o = QJsonDocument::fromJson(status.out.toUtf8()).object();
        QCOMPARE(o.value("mouseFound").toBool(true), false);
        QVERIFY(o.value("firmwareVersion").isNull());
        QCOMPARE(o.value("profiles").toArray()[2].toObject().value("reportRateHz").toInt(), 250);
        QCOMPARE(o.value("currentProfile").toInt(), 5);
    }

    void refusedByTheMouse() {
        const vmouse::State mouse = copy->mouse();
        const ProgramCopy::Run r = copy->run({"set", "brightness", "0"}, "fail-write");
        QCOMPARE(r.code, 4);
        QVERIFY2(r.err.contains("did not take"), qPrintable(r.err));
        QVERIFY(copy->mouse().profiles[2] == mouse.profiles[2]);
        QCOMPARE(copy->stored("profile_fw/2").value(at::brightness), 0);
        QCOMPARE(copy->marks("profile_fw").value(2), QString("true"));
    }
};

QTEST_GUILESS_MAIN(TestScripting)
#include "tst_scripting.moc"
