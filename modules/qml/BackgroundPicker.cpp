#include "BackgroundPicker.h"

#include "Dialogs.h"
#include "PickedFile.h"

#include <QStandardPaths>

QString pickCustomBackground(QWidget *parent, const QStringList &msgStrings) {
    const QString path =
        dialogs().openFileName(parent, QStringLiteral("Open File"),
                               QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                               QStringLiteral("Image Files(*.png)"));
    if (path.isEmpty())
        return QString();
    // Only a picture file of sensible size: the image reader would wait on a FIFO for ever and
    // read a device or a huge file whole, on the GUI thread.
    if (pickedfile::check(path, pickedfile::pictureMaxBytes) != pickedfile::Refusal::None) {
        // The box stands alone: the view may be locked or mid-animation.
        dialogs().warning(nullptr, msgStrings.value(2), msgStrings.value(3) + path);
        return QString();
    }
    return path;
}
