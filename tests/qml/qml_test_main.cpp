// Runs the Qt Quick tests of one folder (QUICK_TEST_SOURCE_DIR) against the recording stand-ins.
#include "QmlStandIns.h"

#include <QtQuickTest>

QUICK_TEST_MAIN_WITH_SETUP(q7_qml, StandIns)
#include "qml_test_main.moc"
