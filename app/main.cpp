#include "CommandLine.h"
#include "DataPaths.h"
#include "InputHooks.h"
#include "ProfileFollowing.h"
#include "SingleInstance.h"
#include "TestGeometryHook.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QMetaType>
#include <QStringList>

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

QStringList argumentList(int argc, char **argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

// While the application object looks for a display, Qt's platform layer ends the process
// with a fatal message and an abort. That moment gets one plain sentence and an exit code
// instead; the messages before it are passed on once a display was found.
QtMessageHandler previousHandler = nullptr;
QList<std::pair<QtMsgType, QString>> heldMessages;

void startupMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type != QtFatalMsg) {
        heldMessages.append({type, text});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY");
    const QByteArray where = !display.isEmpty()   ? "the display \"" + display + "\""
                             : !wayland.isEmpty() ? "the display \"" + wayland + "\""
                                                  : QByteArray("a display (DISPLAY is not set)");
    std::fprintf(stderr, "q7config needs a graphical desktop session and could not open %s.\n",
                 where.constData());
    std::fflush(stderr);
    ::_exit(2);
}

} // namespace

int main(int argc, char **argv) {
    // Help and the version are answered without a display.
    if (CommandLine::asksForInformation(argumentList(argc, argv)))
        return CommandLine::handle(argumentList(argc, argv)) == CommandLine::Outcome::ExitSuccess
                   ? 0
                   : 1;

    previousHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const auto &[type, text] : std::as_const(heldMessages))
        (previousHandler ? previousHandler : qt_message_output)(type, QMessageLogContext(), text);
    heldMessages.clear();
    QGuiApplication::setDesktopFileName(CommandLine::desktopId());
    // Qt has taken its own options out of argv by now.
    switch (CommandLine::handle(argumentList(argc, argv))) {
    case CommandLine::Outcome::Run:
        break;
    case CommandLine::Outcome::ExitSuccess:
        return 0;
    case CommandLine::Outcome::ExitFailure:
        return 1;
    }

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
    // After the shell is loaded: it switches through the profile menu.
    ProfileFollowing following(window.view(), paths.applicationRulesFile());
    return application.exec();
}
