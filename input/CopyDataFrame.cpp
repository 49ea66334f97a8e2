#include "CopyDataFrame.h"

#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>

QString CopyDataFrame::serverName(const QString &programPath) {
    const QString identity = SingleInstance::identity(programPath);
    // The per-user runtime folder keeps other users from squatting on the name, which they
    // could do in the shared temporary folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(identity);
    return identity;
}
