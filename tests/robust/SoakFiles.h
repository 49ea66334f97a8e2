#pragma once

// What the soaks read back from the files the program keeps.
#include "Qt48Ini.h"
#include "TestFiles.h"
#include "VirtualMouse.h"

inline QVariant valueOf(const qt48ini::Document &doc, const QString &key) {
    for (const auto &e : doc.entries)
        if (e.key == key)
            return e.value;
    return {};
}

// Empty when the profile file is whole: every line understood, 128 values in every block list
// and a current profile of 0-5. Given the mouse, the blocks and current profile must also be
// the mouse's. Otherwise the first key that is wrong.
inline QString profileFileProblem(const QByteArray &bytes, const vmouse::State *mouse = nullptr) {
    const qt48ini::Document doc = qt48ini::parse(bytes, qt48ini::Codec::Latin1);
    if (!doc.ok)
        return QStringLiteral("a line is not understood");
    for (size_t p = 0; p < 6; ++p) {
        factory::Block other{};
        if (mouse) {
            other[0] = mouse->dpiStage[p];
            other[1] = mouse->reportRate[p];
            other[2] = p == 0 ? mouse->ledTwinkle : 0;
        }
        const std::pair<const char *, const factory::Block *> lists[] = {
            {"profile_fw", mouse ? &mouse->profiles[p] : nullptr},
            {"matrix_fw", mouse ? &mouse->matrices[p] : nullptr},
            {"other_fw", mouse ? &other : nullptr}};
        for (const auto &[group, block] : lists) {
            const QString key = QStringLiteral("%1/%2").arg(group).arg(p);
            const QStringList values = valueOf(doc, key).toStringList();
            bool same = values.size() == 128;
            for (int i = 0; same && block && i < 128; ++i)
                same = values.at(i).toUInt() == (*block)[size_t(i)];
            if (!same)
                return key;
        }
    }
    const QVariant current = valueOf(doc, QStringLiteral("common/curProfile"));
    if (!current.isValid() || current.toUInt() > 5 ||
        (mouse && current.toUInt() != mouse->currentProfile))
        return QStringLiteral("common/curProfile");
    return {};
}
