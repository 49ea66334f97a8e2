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

    // True when another live copy of this user holds the lock.
    bool isRunning() const { return !owned && problem.isEmpty(); }
    // Why no copy can run here (a runtime folder that is not private, a lock the user cannot
    // take); empty when the lock was taken or is held by the user's own running copy.
    QString failure() const { return problem; }

    // Short, stable name derived from the program path; other per-instance
    // channels (the warning-message socket) use it too.
    static QString identity(const QString &programPath);

    // Where this user's copy of the program keeps its lock and socket: the identity in the
    // user's runtime folder ($XDG_RUNTIME_DIR), or, without one, in a folder of the user's
    // own under the cache home (made 0700). Empty, and *why says so, when the folder is not
    // a private folder of this user: someone else could hold the lock or read the messages.
    static QString channelBase(const QString &programPath, QString *why = nullptr);

private:
    std::unique_ptr<QLockFile> lock;
    bool owned = false;
    QString problem;
};
