#include "ActiveWindowSource.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q7_HAVE_XCB
#include "linux/X11ActiveWindowSource.h"
#endif

std::unique_ptr<ActiveWindowSource> ActiveWindowSource::create(QObject *parent) {
#ifdef Q7_HAVE_XCB
    if (!qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariable("Q7_ACTIVE_WINDOW_SOURCE") != QLatin1String("none")) {
        auto x11 = std::make_unique<X11ActiveWindowSource>(parent);
        if (x11->start())
            return x11;
    }
#endif
    return std::make_unique<NoActiveWindowSource>(parent);
}

QString ActiveWindowSource::executableOf(qint64 pid) {
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    QString target = QFile::symLinkTarget(proc + QStringLiteral("exe"));
    if (!target.isEmpty()) {
        // A program replaced on disk while it runs (an update) still names itself.
        target.remove(QStringLiteral(" (deleted)"));
        return QFileInfo(target).fileName();
    }
    QFile comm(proc + QStringLiteral("comm"));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromLocal8Bit(comm.readAll()).trimmed();
    return QString();
}
