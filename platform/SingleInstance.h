#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Lets one copy of the program run per program file. Two copies installed in different
// folders do not see each other; a lock left behind by a crashed copy does not block.
class SingleInstance {
public:
    // programPath: the program's own file (QCoreApplication::applicationFilePath()).
    explicit SingleInstance(const QString &programPath);
    ~SingleInstance();

    // True when another live copy holds the lock.
    bool isRunning() const { return !owned; }

    // Short, stable name derived from the program path; other per-instance
    // channels (the warning-message socket) use it too.
    static QString identity(const QString &programPath);

private:
    std::unique_ptr<QLockFile> lock;
    bool owned = false;
};
