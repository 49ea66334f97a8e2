#pragma once

#include "StagedModules.h"
#include "VirtualMouse.h"
#include "Widget.h"

#include <QApplication>
#include <QElapsedTimer>

// The program's own window in this process over the linked-in virtual mouse, started as the
// program starts it. Rendering is not what these benches measure and the desktop's pointer
// settings must never be touched, so the window draws off screen in software and settings
// stay in memory. Call prepareEnvironment() before the QApplication exists.
class InProcessWindow {
public:
    static void prepareEnvironment() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_QUICK_BACKEND", "software");
        qputenv("GSETTINGS_BACKEND", "memory");
        qputenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false");
        if (qEnvironmentVariableIsEmpty("Q7_BUILD_BIN"))
            qputenv("Q7_BUILD_BIN", Q7_BUILD_BIN);
    }

    // Waits out initUI and the opening, so the first measurement starts on a settled window.
    InProcessWindow() {
        window.checkDevice();
        window.showNormal();
        window.startUi();
        spin(1500);
    }

    Widget &widget() { return window; }

    static void spin(int msTotal, int slice = 5) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < msTotal)
            QCoreApplication::processEvents(QEventLoop::AllEvents, slice);
    }

private:
    // In this order: the window reads the staged copy and starts on a mouse in its factory state.
    StagedModules modules;
    struct FactoryMouse {
        FactoryMouse() { vmouse::reset(); }
    } factoryMouse;
    Widget window;
};
