#include "CopyDataFrame.h"

#include "SingleInstance.h"

QString CopyDataFrame::serverName(const QString &programPath) {
    // Beside the single-instance lock: each user reaches the copy of their own session only.
    return SingleInstance::channelBase(programPath);
}
