#include "DataPaths.h"
#include "InputHooks.h"
#include "SingleInstance.h"
#include "TestGeometryHook.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QMetaType>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    SingleInstance instance(QCoreApplication::applicationFilePath());
    if (instance.isRunning())
        return 1;

    QString programDirectory = QCoreApplication::applicationFilePath();
    programDirectory.truncate(programDirectory.lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(programDirectory);
    const DataPaths paths(programDirectory);
    if (!paths.seed())
        qWarning("q7config: cannot set up %s; changes may not be saved",
                 qPrintable(paths.dataDir()));
    DataPaths::setCurrent(paths);

    qRegisterMetaType<QList<uchar>>("QList<uchar>");

    Widget window;
    // Declared after the window, so the capture stops before the window its callbacks reach.
    InputHooks hooks(false);
    InputHooks::setKeyboardCallback(&Widget::onHookKey, &window);
    InputHooks::setMouseCallback(&Widget::onHookMouse, &window);
    InputHooks::setCopyDataCallback(&Widget::onCopyData, &application, &window);

    // Journeys of the real program locate controls through it; nothing listens otherwise.
    TestGeometryHook::installFromEnvironment(window.view());

    window.checkDevice();
    window.showNormal();
    window.startUi();
    return application.exec();
}
