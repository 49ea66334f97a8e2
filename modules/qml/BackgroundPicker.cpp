#include "BackgroundPicker.h"

#include "Dialogs.h"

#include <QFile>
#include <QStandardPaths>

QString pickCustomBackground(QWidget *parent, const QStringList &msgStrings) {
    const QString path =
        dialogs().openFileName(parent, QStringLiteral("Open File"),
                               QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                               QStringLiteral("Image Files(*.png)"));
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // The box stands alone: the view may be locked or mid-animation.
        dialogs().warning(nullptr, msgStrings.value(2), msgStrings.value(3) + path);
        return QString();
    }
    return path;
}
