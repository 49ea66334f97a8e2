#include "CaptureDemand.h"
#include "CommandLine.h"
#include "DataPaths.h"
#include "Dialogs.h"
#include "CopyData.h"
#include "CopyDataFrame.h"
#include "InputHooks.h"
#include "OfflineEdits.h"
#include "ProfileFollowing.h"
#include "CopyDataReceiver.h"
#include "ScriptBus.h"
#include "ScriptCommand.h"
#include "ScriptOperations.h"
#include "SingleInstance.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QLocalSocket>
#include <QMetaType>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <sys/stat.h>
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

// Hands the profile to the running copy. 0 when it took the message, 2 when none answers.
int sendProfile(int profile) {
    QLocalSocket socket;
    socket.connectToServer(CopyDataFrame::serverName(QCoreApplication::applicationFilePath()));
    if (!socket.waitForConnected(3000))
        return 2;
    socket.write(CopyDataFrame::encode(copyDataProfileTag, QByteArray(1, char(profile))));
    while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(5000)) {
    }
    return socket.read(1) == QByteArray(1, CopyDataFrame::acceptedReply) ? 0 : 2;
}

// A script's operation waits while a refill reads the mouse or a question about edits made
// without it is up.
bool readyForScripts(const Widget *window) {
    return !window->refilling() && !window->view()->offlineEdits().asking();
}

// A script's command, carried out as the window's own clicks would be, once it is ready.
void runScriptCommand(Widget *window, const QByteArray &request, const CopyDataAnswer &answer) {
    if (!readyForScripts(window)) {
        QTimer::singleShot(100, window, [=] { runScriptCommand(window, request, answer); });
        return;
    }
    const std::optional<QStringList> arguments = ScriptCommand::decodeRequest(request);
    const ScriptCommand::Output output =
        arguments ? ScriptCommand::execute(window->view()->scripting(), *arguments)
                  : ScriptCommand::Output{ScriptResult::BadArguments, QString(),
                                          QStringLiteral("The command did not arrive whole.\n")};
    answer(ScriptCommand::encodeReply(output));
}

struct CopyDataTargets {
    Widget *window = nullptr;
    ProfileFollowing *following = nullptr;
};

void onCopyData(const CopyDataMessage *message, void *context) {
    auto *targets = static_cast<CopyDataTargets *>(context);
    if (message->dwData == copyDataProfileTag) {
        if (message->cbData == 1 && targets->following)
            targets->following->follower()->requestProfile(
                *static_cast<const unsigned char *>(message->lpData));
        return;
    }
    Widget::onCopyData(message, targets->window);
}

} // namespace

int main(int argc, char **argv) {
    // Help and the version are answered without a display.
    if (CommandLine::asksForInformation(argumentList(argc, argv)))
        return CommandLine::handle(argumentList(argc, argv)) == CommandLine::Outcome::ExitSuccess
                   ? 0
                   : 1;

    // Everything the program creates (the data folder, the profile file, recorded macros,
    // exports) is the user's alone, whoever else can enter the folder it lands in.
    ::umask(077);

    // A script's command needs no display: the running copy carries it out, or this process
    // with the mouse and the profile file.
    if (CommandLine::isCommand(argumentList(argc, argv))) {
        QCoreApplication application(argc, argv);
        return ScriptCommand::run(argumentList(argc, argv));
    }

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
    const int requestedProfile = CommandLine::requestedProfile(argumentList(argc, argv));
    if (!instance.failure().isEmpty()) {
        // Not the silent exit of a second copy: nothing of this user runs, so say why.
        const QString text = QStringLiteral("q7config cannot start: ") + instance.failure();
        std::fprintf(stderr, "%s\n", qPrintable(text));
        dialogs().warning(nullptr, QStringLiteral("q7config"), text);
        return 2;
    }
    if (instance.isRunning())
        return requestedProfile ? sendProfile(requestedProfile) : 1;

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
    CopyDataTargets copyDataTargets{&window, nullptr};
    // Declared after the window, so the capture stops before the window its callbacks reach.
    InputHooks hooks(false);
    InputHooks::setKeyboardCallback(&Widget::onHookKey, &window);
    InputHooks::setMouseCallback(&Widget::onHookMouse, &window);
    InputHooks::setCopyDataCallback(&onCopyData, &application, &copyDataTargets);
    // The capture is installed only while a page asks for input.
    CaptureDemand captureDemand([&hooks](bool listen) {
        if (listen)
            hooks.installHooks();
        else
            hooks.removeHooks();
    });
    window.view()->setCaptureDemand(&captureDemand);

    window.checkDevice();
    window.showNormal();
    window.startUi();
    // Before the rules' window source, which then finds the program's bus name held and
    // leaves it alone. Without a session bus the program runs as before.
    ScriptBus scriptBus(window.view()->scripting(), window.view()->profileStore(),
                        [&window] { return readyForScripts(&window); });
    scriptBus.start();
    // After the shell is loaded: it switches through the profile menu.
    ProfileFollowing following(window.view(), paths.applicationRulesFile());
    copyDataTargets.following = &following;
    myQQuickView *view = window.view();
    view->scripting().setHost({[&following, view](int profile) {
                                   following.follower()->requestProfile(profile);
                                   return view->deviceLinked();
                               },
                               [view] { view->refreshPages(); }});
    setCopyDataCommandHandler([&window](const QByteArray &request, CopyDataAnswer answer) {
        runScriptCommand(&window, request, answer);
    });
    if (requestedProfile)
        following.follower()->requestProfile(requestedProfile);
    return application.exec();
}
