#pragma once

// The built program in a folder of its own over the preloaded virtual mouse, run as a
// script runs it: arguments in, exit code and both output streams out. The mouse's state
// lives in a file the preloaded mouse reads at every start, so runs follow one another on
// the same mouse; the profile file is the copy's own (modules/setting/p_Q7.bin).

#include "IniFormat.h"
#include "TestFiles.h"
#include "VirtualMouse.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

class ProgramCopy {
public:
    struct Run {
        int code = -1;
        QString out, err;
    };

    ProgramCopy() {
        const QString bin = qEnvironmentVariable("Q7_BUILD_BIN");
        ok = dir.isValid() && QDir().mkpath(folder()) &&
             QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-RL"), bin + "/modules",
                                                      bin + "/q7config", folder()}) == 0;
        QDir().mkpath(dir.filePath(QStringLiteral("runtime")));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ok = ok && vmouse::saveStateFile(stateFile().toStdString(), vmouse::factoryState());
    }
    bool ready() const { return ok; }

    QString folder() const { return dir.filePath(QStringLiteral("program")); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QString stateFile() const { return dir.filePath(QStringLiteral("mouse.txt")); }
    QString profileFile() const { return folder() + QStringLiteral("/modules/setting/p_Q7.bin"); }

    QProcessEnvironment environment(const QString &faults = QString()) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VIRTUALMOUSE_LIB));
        env.insert(QStringLiteral("VIRTUAL_MOUSE_STATE"), stateFile());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        // A command needs no display: none is offered.
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!faults.isEmpty())
            env.insert(QStringLiteral("VIRTUAL_MOUSE_FAULTS"), faults);
        return env;
    }

    Run run(const QStringList &arguments, const QString &faults = QString()) const {
        QProcess p;
        p.setProcessEnvironment(environment(faults));
        p.setWorkingDirectory(dir.path());
        p.start(folder() + QStringLiteral("/q7config"), arguments);
        Run r;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.code = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    vmouse::State mouse() const {
        vmouse::State s;
        vmouse::loadStateFile(stateFile().toStdString(), s);
        return s;
    }
    bool setMouse(const vmouse::State &s) const {
        return vmouse::saveStateFile(stateFile().toStdString(), s);
    }

    // A list of the profile file ("other_fw/2"), as numbers.
    QList<int> stored(const QString &key) const {
        QList<int> out;
        for (const QString &v : QSettings(profileFile(), qt48IniFormat()).value(key).toStringList())
            out.append(v.toInt());
        return out;
    }
    QStringList marks(const QString &group) const {
        return QSettings(profileFile(), qt48IniFormat()).value(group + "/dirty").toStringList();
    }
    QByteArray profileBytes() const { return bytesOf(profileFile()); }

private:
    QTemporaryDir dir;
    bool ok = false;
};
