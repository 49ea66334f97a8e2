// The macro page of the real program, driven through X: recording typed keys (ended by STOP or
// by leaving the page), adding a delay, a click and Space, and a macro that occupies a slot of
// the mouse following every edit and a rename.
#include "Journey.h"

#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

QString macroFile(const Journey &j, const QString &name) {
    return j.programDir() + QStringLiteral("/modules/macro/1/") + name + QStringLiteral(".bin");
}

QStringList fileLines(const QString &path) {
    QSettings file(path, QSettings::IniFormat);
    QStringList lines;
    const int total = file.value(QStringLiteral("config/total"), -1).toInt();
    for (int i = 0; i < total; ++i)
        lines << file.value(QStringLiteral("macro/%1").arg(i)).toString();
    return lines;
}

bool waitLines(Journey &j, const QString &path, const QStringList &expected) {
    return j.waitFor([&] { return fileLines(path) == expected; }) ||
           j.fail(QStringLiteral("%1 holds [%2], not [%3]")
                      .arg(path, fileLines(path).join(QLatin1Char('|')),
                           expected.join(QLatin1Char('|'))));
}

// The block a slot holds: play count 1, the records, the end mark, zeros.
factory::Block macroBlock(const QByteArray &records) {
    factory::Block block{};
    const QByteArray bytes = QByteArray::fromHex("0001") + records;
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

bool openMacroPage(Journey &j) {
    return j.click(QStringLiteral("fnEntry1")) && j.waitShown(QStringLiteral("macroAdd"));
}

} // namespace

class tst_journey_macro : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordedWordAndAddedEventsReachTheFile() {
        Journey j(QStringLiteral("macro"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openMacroPage(j), j.errorText());
        QVERIFY2(j.click("macroAdd"), j.errorText());
        const QString path = macroFile(j, QStringLiteral("Macro. 001"));
        QVERIFY2(j.waitFor([&] { return QFile::exists(path); }), "no new macro file");
        QCOMPARE(fileLines(path), QStringList());

        QVERIFY2(j.click("macroRecord"), j.errorText());
        j.type(QStringLiteral("ab"));
        QVERIFY2(j.click("macroStop"), j.errorText());
        const QStringList word = {"A    [Down]", "A      [Up]", "B    [Down]", "B      [Up]"};
        QVERIFY2(waitLines(j, path, word), j.errorText());

        // A delay of 5 shows as 10 and is added as 10; then a left click.
        QVERIFY2(j.enter("macroDelayInput", QStringLiteral("5")), j.errorText());
        QVERIFY(j.waitFor([&] { return j.property("macroDelayInput", "text") == "10"; }));
        QVERIFY2(j.click("macroAddDelay"), j.errorText());
        QVERIFY2(j.click("macroAddMouse"), j.errorText());
        QVERIFY2(waitLines(j, path,
                           word + QStringList{"10   [Delay]", "MS-L    [Down]", "MS-L      [Up]"}),
                 j.errorText());

        QVERIFY2(j.click("actionListRow4"), j.errorText());
        j.screenshot(QStringLiteral("page"));
        QVERIFY2(j.rightClick("macroListRow0"), j.errorText());
        QVERIFY2(j.waitShown("macroMenuRename"), j.errorText());
        j.screenshot(QStringLiteral("menu"));
        QVERIFY2(j.click("macroMenuCancel"), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    // Leaving the page ends a recording as STOP does; the editor's field takes Space like
    // any other key.
    void recordingEndsWithThePageAndSpaceIsAKey() {
        Journey j(QStringLiteral("macro-leave"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openMacroPage(j) && j.click("macroAdd"), j.errorText());
        const QString path = macroFile(j, QStringLiteral("Macro. 001"));
        QVERIFY2(j.waitFor([&] { return QFile::exists(path); }), "no new macro file");
        QVERIFY2(j.click("macroRecord"), j.errorText());
        j.type(QStringLiteral("ab"));
        QVERIFY2(j.click("fnEntry0") && j.waitShown("keyFunctionMenu"), j.errorText());
        const QStringList word = {"A    [Down]", "A      [Up]", "B    [Down]", "B      [Up]"};
        QVERIFY2(waitLines(j, path, word), j.errorText());
        QCOMPARE(j.property("_Page_Macro", "isRecordStart"), QStringLiteral("false"));

        QVERIFY2(openMacroPage(j) && j.click("macroKeyInput"), j.errorText());
        QVERIFY2(j.waitFor([&] { return j.property("macroKeyInput", "armed") == "true"; }), j.errorText());
        j.key(Journey::Space);
        QVERIFY2(j.waitFor([&] { return j.property("macroKeyInput", "keyCode") == "44"; }), j.errorText());
        QVERIFY2(j.click("macroAddKey"), j.errorText());
        QVERIFY2(waitLines(j, path, word + QStringList{"Space    [Down]", "Space      [Up]"}), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }

    void macroInASlotFollowsEveryEditAndARename() {
        Journey j(QStringLiteral("macro-slot"));
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(openMacroPage(j), j.errorText());
        QVERIFY2(j.click("macroAdd"), j.errorText());
        const QString path = macroFile(j, QStringLiteral("Macro. 001"));
        QVERIFY2(j.waitFor([&] { return QFile::exists(path); }), "no new macro file");
        // What the key page writes when a button is given this macro: stored index 4, slot 5.
        {
            QSettings file(path, QSettings::IniFormat);
            file.setValue(QStringLiteral("config/index"), 4);
        }

        QVERIFY2(j.click("macroKeyInput"), j.errorText());
        j.type(QStringLiteral("a"));
        QVERIFY2(j.click("macroAddKey"), j.errorText());
        vmouse::State expected = j.mouse();
        expected.macros[4] = macroBlock(QByteArray::fromHex("0104" "8104" "0000"));
        QVERIFY2(j.waitMouse(expected), j.errorText());

        // Deleting a line re-uploads at once.
        QVERIFY2(j.click("actionListRow0") && j.click("macroLineDelete"), j.errorText());
        expected.macros[4] = macroBlock(QByteArray::fromHex("8104" "0000"));
        QVERIFY2(j.waitMouse(expected), j.errorText());

        // Renamed by typing and Return, the macro keeps its slot.
        QVERIFY2(j.rightClick("macroListRow0") && j.click("macroMenuRename"), j.errorText());
        QVERIFY2(j.waitShown("macroListEditor"), j.errorText());
        j.chord(Journey::ControlL, 'a');
        j.type(QStringLiteral("jump"));
        j.key(Journey::Return);
        const QString renamed = macroFile(j, QStringLiteral("jump"));
        QVERIFY2(j.waitFor([&] { return QFile::exists(renamed) && !QFile::exists(path); }),
                 "not renamed");
        QCOMPARE(fileLines(renamed), QStringList{"A      [Up]"});
        // The line after the deleted one became current.
        QCOMPARE(j.property("actionList", "currentIndex"), QStringLiteral("0"));
        QVERIFY2(j.click("macroLineDelete"), j.errorText());
        expected.macros[4] = macroBlock(QByteArray::fromHex("0000"));
        QVERIFY2(j.waitMouse(expected), j.errorText());
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_macro)
#include "tst_journey_macro.moc"
