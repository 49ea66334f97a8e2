// `q7config profile N` as a script runs it, from the command's start to the mouse's switch.
//
// With the program running, the command goes to it over the per-user socket; here the running
// copy is this bench's own window (over the linked-in virtual mouse), listening as the program
// does, so the switch is seen in the mouse's log. Reference: the settling time plus one switch
// exchange made directly through the view, measured in the same round (as bench_follow_switch).
//
// Without a running copy the command opens the mouse itself: a preloaded virtual mouse whose
// state file is watched for the switch. Reference: the same plus the device's greeting (the
// look-up and the reading of the mouse a start makes), measured here in the same run.

#include "ApConfig.h"
#include "BlockLayout.h"
#include "CopyData.h"
#include "CopyDataFrame.h"
#include "CopyDataReceiver.h"
#include "DataPaths.h"
#include "InProcessWindow.h"
#include "LocalCopyDataServer.h"
#include "MS_HT66FB560.h"
#include "Median.h"
#include "MouseLink.h"
#include "ProfileFollowing.h"
#include "ProfileStore.h"
#include "ScriptCommand.h"
#include "SingleInstance.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The end of the first switch exchange the in-process mouse saw after `since`.
std::optional<Clock::time_point> switchEndAfter(Clock::time_point since) {
    bool command = false;
    for (const vmouse::LogEntry &e : vmouse::log()) {
        if (e.at < since)
            continue;
        if (!command && e.dir == vmouse::Dir::FeatureOut && e.clear.size() > 1 &&
            e.clear[1] == layout::command::setCurrentProfile)
            command = true;
        else if (command && e.dir == vmouse::Dir::Close)
            return e.at;
    }
    return std::nullopt;
}

QProcess *startCommand(const QString &program, int profile, const QProcessEnvironment &env) {
    auto *p = new QProcess;
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start(program, {QStringLiteral("profile"), QString::number(profile)});
    return p;
}

double oneExchange(Widget &window, int profile) {
    QElapsedTimer t;
    t.start();
    window.view()->q7_02H_SetCurrentProfile(uchar(profile));
    return t.nsecsElapsed() / 1e6;
}

// The look-up and the reading of the mouse that a start makes before it can send anything.
double greeting(const DataPaths &paths, const QString &work) {
    ApConfig config(paths.settingDir(), paths.factorySettingDir());
    QFile::remove(work + "/greeting.bin");
    QFile::copy(paths.profileDefaultsFile(), work + "/greeting.bin");
    QFile::setPermissions(work + "/greeting.bin", QFile::ReadOwner | QFile::WriteOwner);
    ProfileStore store(work + "/greeting.bin", paths.profileDefaultsFile());
    MouseLink link(store);
    MS_HT66FB560 device;
    QElapsedTimer t;
    t.start();
    link.setDevice(&device);
    store.setDeviceLinked(linkDevice(device, config.productNames(), QString(), QString(), QString()));
    store.syncFromDevice();
    const double elapsed = t.nsecsElapsed() / 1e6;
    link.setDevice(nullptr);
    return elapsed;
}

void report(const char *what, const std::vector<double> &total, const std::vector<double> &ref,
            const std::vector<double> &ratio, double goal) {
    std::printf("%s, %zu rounds\n", what, total.size());
    std::printf("  command start to the end of the switch: median %.1f ms\n", median(total));
    std::printf("  reference: median %.1f ms\n", median(ref));
    std::printf("  ratio: %.3f median of rounds, worst %.3f (goal <= %.1f)\n", median(ratio),
                *std::max_element(ratio.begin(), ratio.end()), goal);
}

} // namespace

int main(int argc, char **argv) {
    InProcessWindow::prepareEnvironment();
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(2, atoi(argv[1])) : 10;

    // A private copy of the program: its lock and socket are this bench's alone, and the
    // command without a running copy writes its own profile file.
    QTemporaryDir work;
    const QString bin = QStringLiteral(Q7_BUILD_BIN);
    if (QProcess::execute("cp", {"-RL", bin + "/modules", bin + "/q7config", work.path()}) != 0) {
        std::fprintf(stderr, "cannot copy the program\n");
        return 1;
    }
    const QString program = QFileInfo(work.filePath("q7config")).canonicalFilePath();
    QDir().mkpath(work.filePath("runtime"));
    QFile::setPermissions(work.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", work.filePath("runtime").toLocal8Bit());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    InProcessWindow running;
    Widget &window = running.widget();
    ProfileFollowing following(window.view(), work.filePath("rules.ini"));
    myQQuickView *view = window.view();
    view->scripting().setHost({[&following, view](int profile) {
                                   following.follower()->requestProfile(profile);
                                   return view->deviceLinked();
                               },
                               [view] { view->refreshPages(); }});
    setCopyDataCommandHandler([view](const QByteArray &request, CopyDataAnswer answer) {
        const std::optional<QStringList> arguments = ScriptCommand::decodeRequest(request);
        answer(ScriptCommand::encodeReply(
            arguments ? ScriptCommand::execute(view->scripting(), *arguments) : ScriptCommand::Output{}));
    });

    // --- with the program running ---------------------------------------------------------
    std::vector<double> total, reference, ratio;
    {
        auto instance = std::make_unique<SingleInstance>(program);
        LocalCopyDataServer server(CopyDataFrame::serverName(program));
        if (instance->isRunning() || !server.isListening()) {
            std::fprintf(stderr, "cannot stand in for the running copy\n");
            return 1;
        }
        for (int r = 0; r <= rounds; ++r) {
            const double exchange = oneExchange(window, 4);
            InProcessWindow::spin(50);
            const int profile = 2 + r % 2;
            const Clock::time_point start = Clock::now();
            std::unique_ptr<QProcess> command(startCommand(program, profile, env));
            std::optional<Clock::time_point> end;
            QElapsedTimer limit;
            limit.start();
            while (!(end = switchEndAfter(start)) && limit.elapsed() < 10000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            while (command->state() != QProcess::NotRunning && limit.elapsed() < 10000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (!end || command->exitCode() != 0) {
                std::fprintf(stderr, "round %d: the running copy made no switch\n", r);
                return 1;
            }
            if (r == 0)
                continue; // warm-up
            total.push_back(ms(*end - start));
            reference.push_back(ProfileFollower::settleMs + exchange);
            ratio.push_back(total.back() / reference.back());
        }
    }
    report("q7config profile N with the program running", total, reference, ratio, 1.2);

    // --- without a running copy -------------------------------------------------------------
    const DataPaths paths = DataPaths::besideProgram(work.path());
    env.insert("LD_PRELOAD", VIRTUALMOUSE_LIB);
    env.insert("VIRTUAL_MOUSE_STATE", work.filePath("mouse.txt"));
    total.clear();
    reference.clear();
    ratio.clear();
    for (int r = 0; r <= rounds; ++r) {
        const double exchange = oneExchange(window, 4);
        const double greet = greeting(paths, work.path());
        vmouse::State start = vmouse::factoryState();
        start.currentProfile = 1;
        vmouse::saveStateFile(work.filePath("mouse.txt").toStdString(), start);
        const int profile = 2 + r % 2;
        const Clock::time_point begin = Clock::now();
        std::unique_ptr<QProcess> command(startCommand(program, profile, env));
        vmouse::State now;
        QElapsedTimer limit;
        limit.start();
        std::optional<Clock::time_point> end;
        while (!end && limit.elapsed() < 20000) {
            if (vmouse::loadStateFile(work.filePath("mouse.txt").toStdString(), now) &&
                now.currentProfile == profile)
                end = Clock::now();
            else
                QThread::usleep(500);
        }
        command->waitForFinished(20000);
        if (!end || command->exitCode() != 0) {
            std::fprintf(stderr, "round %d: the command made no switch\n", r);
            return 1;
        }
        if (r == 0)
            continue;
        total.push_back(ms(*end - begin));
        reference.push_back(ProfileFollower::settleMs + exchange + greet);
        ratio.push_back(total.back() / reference.back());
    }
    report("q7config profile N without a running copy", total, reference, ratio, 1.3);
    return 0;
}
