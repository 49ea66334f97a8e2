#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

QString SingleInstance::identity(const QString &programPath) {
    const QString canonical = QFileInfo(programPath).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? programPath : canonical).toUtf8();
    return QStringLiteral("q7config-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

QString SingleInstance::channelBase(const QString &programPath) {
#ifdef Q_OS_WIN
    // The temporary folder is the user's own there.
    return QDir::temp().filePath(identity(programPath));
#else
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo runtimeInfo(runtime);
    // A runtime folder that is not ours would put us in another user's namespace again.
    if (!runtime.isEmpty() && runtimeInfo.isDir() && runtimeInfo.ownerId() == ::getuid())
        return QDir(runtime).filePath(identity(programPath));
    return QDir::temp().filePath(identity(programPath) + QStringLiteral("-u%1").arg(::getuid()));
#endif
}

SingleInstance::SingleInstance(const QString &programPath)
    : lock(std::make_unique<QLockFile>(channelBase(programPath) + QStringLiteral(".lock"))) {
    // Age alone must never make the lock stale: the first copy may run for days. A lock
    // whose owner process is gone is still recognised as stale and taken over.
    lock->setStaleLockTime(0);
    owned = lock->tryLock(0);
}

SingleInstance::~SingleInstance() = default;
