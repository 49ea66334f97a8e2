// Start-up against a mouse that takes commands but never sends a data report (the first
// block read of the refill times out) against the same start with no mouse at all, and with a
// mouse that answers, for scale. The program as a user starts it, from a copy of the build
// tree's program folder, over the preloaded virtual mouse: launch → the window answering its
// test hook, and launch → the function menu fully shown in an enabled view (the opening over,
// the refill and its busy lock ended). Interleaved runs, medians and their ratios.
#include "Median.h"
#include "ProgramStart.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

using namespace programstart;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int runs = qMax(3, app.arguments().value(1).toInt());
    QTemporaryDir work;
    const QString home = work.filePath("home");
    QDir().mkpath(home);
    const QString program = copyOfBuildProgram(work.path(), QStringLiteral("program"));
    if (program.isEmpty())
        return 1;

    const char *kinds[] = {"silent", "absent", ""};
    auto start = [&](int kind, Start &out) {
        QProcessEnvironment faults;
        faults.insert("VIRTUAL_MOUSE_FAULTS", QString::fromLatin1(kinds[kind]));
        return startOnce(program, home, work.path(), out, faults);
    };
    Start warm;
    for (int k = 0; k < 3; ++k)
        if (!start(k, warm)) {
            std::fprintf(stderr, "a start failed (is a display available?), see %s\n",
                         qPrintable(work.filePath("program.log")));
            work.setAutoRemove(false);
            return 1;
        }
    std::vector<double> hook[3], ready[3], silentToNone, answeringToNone;
    for (int i = 0; i < runs; ++i) {
        Start s[3];
        for (int k = 0; k < 3; ++k) {
            if (!start(k, s[k])) {
                std::fprintf(stderr, "a start failed\n");
                return 1;
            }
            hook[k].push_back(s[k].hookMs);
            ready[k].push_back(s[k].readyMs);
        }
        silentToNone.push_back(s[0].readyMs / s[1].readyMs);
        answeringToNone.push_back(s[2].readyMs / s[1].readyMs);
    }
    const char *names[] = {"mouse silent from its first block read", "no mouse at all",
                           "a mouse that answers"};
    std::printf("start-up, %d interleaved runs (medians)\n", runs);
    for (int k = 0; k < 3; ++k)
        std::printf("  %s: window answering %.1f ms, taking input with the menu shown %.1f ms\n",
                    names[k], median(hook[k]), median(ready[k]));
    std::printf("  ratio silent/none: %.3f median of pairs, %.3f of the medians (goal <= 1.3)\n",
                median(silentToNone), median(ready[0]) / median(ready[1]));
    std::printf("  ratio answering/none: %.3f median of pairs\n", median(answeringToNone));
    return 0;
}
