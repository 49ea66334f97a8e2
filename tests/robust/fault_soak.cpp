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

QString randomFaults(QRandomGenerator &random) {
    const int kind = int(random.bounded(11));
    switch (kind) {
    case 0:
        return {}; // some episodes meet a healthy mouse
    case 1:
        return QStringLiteral("silent");
    case 2:
        return QStringLiteral("unplug-at=%1").arg(1 + random.bounded(160));
    case 3:
        return QStringLiteral("fail-send");
    case 4:
        return QStringLiteral("fail-write");
    case 5:
        return QStringLiteral("fail-answer");
    case 6:
        return QStringLiteral("short-answer=%1").arg(random.bounded(9));
    case 7:
        return QStringLiteral("short-report=%1").arg(random.bounded(64));
    case 8:
        return QStringLiteral("wrong-answer");
    case 9:
        return QStringLiteral("slow=%1ms,unplug-at=%2")
            .arg(20 + random.bounded(100))
            .arg(30 + random.bounded(120));
    default:
        return QStringLiteral("absent");
    }
}

// Shows the page whose Apply is `apply` (through the function menu entry `entry`) and
// clicks it.
bool applyPage(Journey &j, const QString &entry, const QString &apply) {
    if (!j.item(apply) && !j.click(entry))
        return false;
    return j.waitShown(apply, 20000) && j.click(apply);
}

bool act(Journey &j, QRandomGenerator &random) {
    switch (random.bounded(5)) {
    case 0:
        return j.click(QStringLiteral("pfEntry%1").arg(1 + random.bounded(5)));
    case 1:
        return j.click(QStringLiteral("btnTotalApply"));
    case 2:
        return applyPage(j, QStringLiteral("fnEntry3"), QStringLiteral("sensorApply"));
    case 3:
        return applyPage(j, QStringLiteral("fnEntry2"), QStringLiteral("colorApply"));
    default:
        return applyPage(j, QStringLiteral("fnEntry0"), QStringLiteral("keyApply"));
    }
}

// Empty when the profile file holds what the mouse holds; otherwise the first difference.
QString disagreement(const QString &profileFile, const vmouse::State &m) {
    QFile f(profileFile);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("no profile file");
    const qt48ini::Document doc = qt48ini::parse(f.readAll(), qt48ini::Codec::Latin1);
    if (!doc.ok)
        return QStringLiteral("the profile file is not understood");
    const auto same = [&](const QString &key, const factory::Block &b, int count) {
        const QStringList v = valueOf(doc, key).toStringList();
        if (v.size() != 128)
            return false;
        for (int i = 0; i < count; ++i)
            if (v.at(i).toUInt() != b[size_t(i)])
                return false;
        return true;
    };
    for (int p = 0; p < 6; ++p) {
        if (!same(QStringLiteral("profile_fw/%1").arg(p), m.profiles[size_t(p)], 128))
            return QStringLiteral("profile_fw/%1").arg(p);
        if (!same(QStringLiteral("matrix_fw/%1").arg(p), m.matrices[size_t(p)], 128))
            return QStringLiteral("matrix_fw/%1").arg(p);
        factory::Block other{};
        other[0] = m.dpiStage[size_t(p)];
        other[1] = m.reportRate[size_t(p)];
        other[2] = p == 0 ? m.ledTwinkle : 0;
        if (!same(QStringLiteral("other_fw/%1").arg(p), other, 128))
            return QStringLiteral("other_fw/%1").arg(p);
    }
    if (valueOf(doc, QStringLiteral("common/curProfile")).toUInt() != m.currentProfile)
        return QStringLiteral("common/curProfile");
    return {};
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
                QLatin1String("true")) {
                if (notices++ == 0)
                    j.screenshot(QStringLiteral("notice"));
            }
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
        agree = disagreement(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"),
                             j.mouse());
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
