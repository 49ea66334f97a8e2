#include "CopyDataFrame.h"

#include "SingleInstance.h"

QString CopyDataFrame::serverName(const QString &programPath) {
    return SingleInstance::identity(programPath);
}
