#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The settings page's background chooser: the platform's open-file dialog on the user's
// pictures folder. Returns the chosen path, or an empty string when the user cancels or the
// file cannot be read (or is no regular file, or larger than pickedfile::pictureMaxBytes);
// such a file is reported with message strings 2 (title) and
// 3 (text, followed by the path) of the current language.
QString pickCustomBackground(QWidget *parent, const QStringList &msgStrings);
