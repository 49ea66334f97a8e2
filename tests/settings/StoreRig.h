#pragma once

// The profile store, the session with the mouse and the device bridge over a private copy of
// the profile files, beside the virtual mouse.
#include "DeviceBridge.h"
#include "MS_HT66FB560.h"
#include "MouseLink.h"
#include "ProfileFiles.h"
#include "ProfileStore.h"
#include "VirtualMouse.h"

#include <functional>

// The command reports the mouse took since the last clearLog, as "code id" pairs ("0c02").
inline QStringList sentCodes() {
    QStringList out;
    for (const auto &c : vmouse::commands())
        out.append(QString::asprintf("%02x%02x", c[1], c[2]));
    return out;
}

class StoreRig {
    static bool run(const std::function<void(ProfileFiles &)> &f, ProfileFiles &files) {
        if (f)
            f(files);
        return true;
    }

public:
    // `prepare` may change the files before the store first reads them.
    explicit StoreRig(const std::function<void(ProfileFiles &)> &prepare = {})
        : prepared(run(prepare, files)), store(files.working(), files.defaults()) {
        link.setDevice(&dev);
    }

    // The device check: binds the mouse and tells the store whether that worked.
    bool plugIn() {
        const bool linked = linkDevice(dev, {"Old", "Q7"}, "04d9", "a1b7", "");
        store.setDeviceLinked(linked);
        return linked;
    }
    QVariant stored(const QString &key) {
        store.profileSettings()->sync();
        return files.stored(key);
    }
    QByteArray fileNow() {
        store.profileSettings()->sync();
        return bytesOf(files.working());
    }

    ProfileFiles files;
    const bool prepared;
    MS_HT66FB560 dev;
    ProfileStore store;
    MouseLink link{store};
    DeviceBridge bridge{store, link};
};
