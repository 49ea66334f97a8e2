#include "IniFormat.h"

// Placeholder until the Qt 4.8 reader/writer lands: Qt's own INI form.
QSettings::Format qt48IniFormat() { return QSettings::IniFormat; }
QSettings::Format utf8IniFormat() { return QSettings::IniFormat; }
