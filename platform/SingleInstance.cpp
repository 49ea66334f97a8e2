#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

QString SingleInstance::identity(const QString &programPath) {
    const QString canonical = QFileInfo(programPath).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? programPath : canonical).toUtf8();
    return QStringLiteral("q7config-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

SingleInstance::SingleInstance(const QString &programPath)
    : lock(std::make_unique<QLockFile>(QDir::temp().filePath(identity(programPath) + ".lock"))) {
    // Age alone must never make the lock stale: the first copy may run for days. A lock
    // whose owner process is gone is still recognised as stale and taken over.
    lock->setStaleLockTime(0);
    owned = lock->tryLock(0);
}

SingleInstance::~SingleInstance() = default;
