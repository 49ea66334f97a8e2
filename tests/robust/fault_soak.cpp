// The real program over a misbehaving virtual mouse: every episode starts it with random
// faults (VIRTUAL_MOUSE_FAULTS), applies pages, saves everything and switches profiles, then
// closes it. A heartbeat thread asks the program's test hook for an answer every few
// milliseconds; the longest wait for one is the longest time the window did not respond.
// After the last episode the program starts once more over a mouse without faults, and the
// profile file it refilled must hold exactly what the mouse holds.
// Run by scripts/fault-soak.sh; prints one line of figures at the end.

#include "Journey.h"
#include "SoakFiles.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Answers of the test hook, timed from a thread of its own. The program answers on its GUI
// thread, so a long wait is a window that does not respond.
class Heartbeat {
public:
    explicit Heartbeat(QString hookPath) : path(std::move(hookPath)) {
        worker = std::thread([this] { run(); });
    }
    ~Heartbeat() {
        stopping = true;
        worker.join();
    }
    // The longest wait since the last call, in ms.
    qint64 takeLongest() { return longest.exchange(0); }

private:
    void run() {
        QLocalSocket socket;
        while (!stopping) {
            if (socket.state() != QLocalSocket::ConnectedState) {
                socket.abort();
                socket.connectToServer(path);
                if (!socket.waitForConnected(200)) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    continue;
                }
            }
            QElapsedTimer t;
            t.start();
            socket.write("ping\n");
            QByteArray answer;
            // A program that ends, or is ended, closes the connection: no answer is counted.
            while (!answer.endsWith("end\n") && socket.state() == QLocalSocket::ConnectedState &&
                   !stopping)
                if (socket.waitForReadyRead(100))
                    answer += socket.readAll();
            if (answer.endsWith("end\n")) {
                const qint64 ms = t.elapsed();
                qint64 seen = longest.load();
                while (ms > seen && !longest.compare_exchange_weak(seen, ms)) {
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    QString path;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> longest{0};
    std::thread worker;
};

// The fault lists an episode may meet, the empty one a healthy mouse. %1 and %2 take random
// numbers from [low, low + span).
struct FaultKind {
    const char *text;
    int low1 = 0, span1 = 0, low2 = 0, span2 = 0;
};
const FaultKind faultKinds[] = {
    {""}, {"silent"}, {"unplug-at=%1", 1, 160}, {"fail-send"}, {"fail-write"}, {"fail-answer"},
    {"short-answer=%1", 0, 9}, {"short-report=%1", 0, 64}, {"wrong-answer"},
    {"slow=%1ms,unplug-at=%2", 20, 100, 30, 120}, {"absent"}};

QString randomFaults(QRandomGenerator &random) {
    const FaultKind &kind = faultKinds[random.bounded(int(std::size(faultKinds)))];
    QString text = QString::fromLatin1(kind.text);
    if (kind.span1)
        text = text.arg(kind.low1 + random.bounded(kind.span1));
    if (kind.span2)
        text = text.arg(kind.low2 + random.bounded(kind.span2));
    return text;
}

// A profile switch, ALL SAVE, or the Apply of a page, shown first through its function menu
// entry.
bool act(Journey &j, QRandomGenerator &random) {
    const int pick = random.bounded(5);
    if (pick == 0)
        return j.click(QStringLiteral("pfEntry%1").arg(1 + random.bounded(5)));
    if (pick == 1)
        return j.click(QStringLiteral("btnTotalApply"));
    const char *const pages[][2] = {
        {"fnEntry3", "sensorApply"}, {"fnEntry2", "colorApply"}, {"fnEntry0", "keyApply"}};
    const QString entry = QString::fromLatin1(pages[pick - 2][0]),
                  apply = QString::fromLatin1(pages[pick - 2][1]);
    if (!j.item(apply) && !j.click(entry))
        return false;
    return j.waitShown(apply, 20000) && j.click(apply);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int episodes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    QRandomGenerator random(argc > 2 ? QString::fromLocal8Bit(argv[2]).toUInt() : 20261207u);

    Journey j(QStringLiteral("fault-soak"));
    qunsetenv("VIRTUAL_MOUSE_FAULTS");
    if (!j.start()) {
        std::fprintf(stderr, "start: %s\n", j.errorText());
        return 2;
    }
    Heartbeat heartbeat(QFileInfo(j.mouseStateFile()).path() + QStringLiteral("/hook"));
    if (!j.stop()) {
        std::fprintf(stderr, "first stop: %s\n", j.errorText());
        return 2;
    }

    int crashes = 0, hangs = 0, actions = 0, notices = 0, steps = 0;
    qint64 longestStall = 0, longestStart = 0;
    QString longestStallWhere, longestStartWhere;
    for (int e = 0; e < episodes; ++e) {
        const QString faults = randomFaults(random);
        qputenv("VIRTUAL_MOUSE_FAULTS", faults.toLocal8Bit());
        heartbeat.takeLongest();
        QElapsedTimer started;
        started.start();
        if (!j.relaunch()) {
            // The window never came up: a crash when the program is gone, else a hang.
            const bool gone = !j.killProgram();
            gone ? ++crashes : ++hangs;
            std::fprintf(stderr, "episode %d [%s]: start: %s\n", e, qPrintable(faults),
                         j.errorText());
            continue;
        }
        if (started.elapsed() > longestStart) {
            longestStart = started.elapsed();
            longestStartWhere = faults;
        }
        const int count = 1 + int(random.bounded(4));
        for (int a = 0; a < count; ++a) {
            ++steps;
            if (!act(j, random)) {
                std::fprintf(stderr, "episode %d [%s]: step: %s\n", e, qPrintable(faults),
                             j.errorText());
                break;
            }
            ++actions;
            if (j.property(QStringLiteral("sendNotice"), QStringLiteral("showing")) ==
                    QLatin1String("true") &&
                notices++ == 0)
                j.screenshot(QStringLiteral("notice"));
            j.waitIdle(20000);
        }
        const qint64 stall = heartbeat.takeLongest();
        if (stall > longestStall) {
            longestStall = stall;
            longestStallWhere = faults;
        }
        if (!j.stop()) {
            const QString why = j.error();
            if (why.contains(QLatin1String("not running")) || why.contains(QLatin1String("code")))
                ++crashes;
            else
                ++hangs, j.killProgram();
            std::fprintf(stderr, "episode %d [%s]: stop: %s\n", e, qPrintable(faults),
                         qPrintable(why));
        }
    }

    // A clean start refills from the mouse; the file must then be the mouse's.
    qunsetenv("VIRTUAL_MOUSE_FAULTS");
    QString agree = QStringLiteral("the last start failed");
    if (j.relaunch() && j.waitIdle()) {
        const vmouse::State mouse = j.mouse();
        agree = profileFileProblem(bytesOf(j.programDir() + "/modules/setting/p_Q7.bin"), &mouse);
        if (!j.stop())
            ++crashes;
    }
    std::printf("episodes %d, steps %d done %d, notices after a step %d, crashes %d, hangs %d, "
                "longest stall %lld ms [%s], longest start %lld ms [%s], mouse and file %s\n",
                episodes, steps, actions, notices, crashes, hangs, longestStall,
                qPrintable(longestStallWhere), longestStart, qPrintable(longestStartWhere),
                agree.isEmpty() ? "agree" : qPrintable(QStringLiteral("differ at ") + agree));
    return crashes == 0 && hangs == 0 && agree.isEmpty() ? 0 : 1;
}
