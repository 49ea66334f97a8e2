#pragma once

#include <QSettings>

// The settings files' on-disk forms, registered once with QSettings.
// qt48IniFormat: the Qt 4.8 INI form of the profile, defaults, configuration and macro files.
// utf8IniFormat: the language files (UTF-8 text, same syntax).
QSettings::Format qt48IniFormat();
QSettings::Format utf8IniFormat();
