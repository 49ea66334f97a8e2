#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Lets one copy of the program run per user and program file. Two copies installed in
// different folders do not see each other, nor do two users of one installed copy; a lock
// left behind by a crashed copy does not block.
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

    // Where this user's copy of the program keeps its lock and socket: the identity in the
    // user's runtime folder ($XDG_RUNTIME_DIR), or, without one, a name in the temporary
    // folder that carries the user id.
    static QString channelBase(const QString &programPath);

private:
    std::unique_ptr<QLockFile> lock;
    bool owned = false;
};
