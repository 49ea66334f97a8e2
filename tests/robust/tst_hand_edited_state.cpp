// A state file edited by hand settles after one load and save: what the virtual mouse writes
// back reads as the same state, whatever line endings the editor used.

#include "VirtualMouse.h"

#include <QTemporaryDir>
#include <QTest>

#include <fstream>

class TestHandEditedState : public QObject {
    Q_OBJECT
private slots:
    void lineEndingsDoNotLeakIntoValues() {
        QTemporaryDir dir;
        const std::string edited = dir.filePath("edited.txt").toStdString();
        const std::string saved = dir.filePath("saved.txt").toStdString();
        std::ofstream(edited, std::ios::binary) << "device_code=a\r\r\ncurrent_profile=3\r\r\n";

        vmouse::State first, second;
        QVERIFY(vmouse::loadStateFile(edited, first));
        QCOMPARE(first.deviceCode, std::string("a"));
        QCOMPARE(int(first.currentProfile), 3);
        QVERIFY(vmouse::saveStateFile(saved, first));
        QVERIFY(vmouse::loadStateFile(saved, second));
        QCOMPARE(second.deviceCode, first.deviceCode);
    }
};

QTEST_GUILESS_MAIN(TestHandEditedState)
#include "tst_hand_edited_state.moc"
