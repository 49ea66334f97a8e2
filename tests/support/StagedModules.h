#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

// A private copy of the staged runtime data (build/bin/modules), made the current
// directory, so a test can run the program's code without touching the build's files.
class StagedModules {
public:
    StagedModules() : previous(QDir::currentPath()) {
        const QString source = qEnvironmentVariable("Q7_BUILD_BIN") + "/modules";
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = dir.filePath("modules/" + QDir(source).relativeFilePath(from));
            QDir().mkpath(QFileInfo(to).path());
            QFile::copy(from, to);
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
        }
        QDir(dir.path()).mkpath("modules/macro/1");
        QDir::setCurrent(dir.path());
    }
    ~StagedModules() { QDir::setCurrent(previous); }

    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QString previous;
};
