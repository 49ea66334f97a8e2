#pragma once

// What the soaks read back from the files the program keeps.
#include "Qt48Ini.h"
#include "TestFiles.h"

inline QVariant valueOf(const qt48ini::Document &doc, const QString &key) {
    for (const auto &e : doc.entries)
        if (e.key == key)
            return e.value;
    return {};
}
