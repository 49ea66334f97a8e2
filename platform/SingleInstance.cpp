#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

QString SingleInstance::identity(const QString &programPath) {
    const QString canonical = QFileInfo(programPath).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? programPath : canonical).toUtf8();
    return QStringLiteral("q7config-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

#ifndef Q_OS_WIN
namespace {

// A folder only this user can enter and change: ours, not a link, no rights for anyone else.
bool isPrivateFolder(const QString &path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace
#endif

QString SingleInstance::channelBase(const QString &programPath, QString *why) {
#ifdef Q_OS_WIN
    // The temporary folder is the user's own there.
    Q_UNUSED(why);
    return QDir::temp().filePath(identity(programPath));
#else
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return QDir(runtime).filePath(identity(programPath));
    // Never a shared folder such as /tmp: whoever creates the name there first could keep
    // every start out or receive the user's messages.
    const QString own =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/q7config-runtime");
    if (!QFileInfo::exists(own) && QDir().mkpath(own))
        QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (isPrivateFolder(own))
        return QDir(own).filePath(identity(programPath));
    if (why)
        *why = QStringLiteral("%1 is not a folder of this user's alone (owner and mode 0700 "
                              "are checked), and no private runtime folder is set "
                              "(XDG_RUNTIME_DIR)")
                   .arg(own);
    return QString();
#endif
}

SingleInstance::SingleInstance(const QString &programPath) {
    const QString base = channelBase(programPath, &problem);
    if (base.isEmpty())
        return;
    lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // Age alone must never make the lock stale: the first copy may run for days. A lock
    // whose owner process is gone is still recognised as stale and taken over.
    lock->setStaleLockTime(0);
    owned = lock->tryLock(0);
    // Only a lock held by a running copy means "already running"; one that cannot even be
    // read or made is not the user's own copy and must not end the start without a word.
    if (!owned && lock->error() != QLockFile::LockFailedError)
        problem = QStringLiteral("cannot take the lock %1.lock").arg(base);
}

SingleInstance::~SingleInstance() = default;
