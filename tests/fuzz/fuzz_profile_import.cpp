// Arbitrary bytes as a "*.pf" file imported into a profile slot, through the store's import.
// The working file starts as the factory profile file each run. Beyond sanitizer reports it
// checks what the pages rely on afterwards: every block list holds 128 values and every
// dirty list six, the other slots are untouched, an imported slot holds the file's values
// (exactly 128 of 0-255 in its firmware block),
// and a file that is refused leaves the working file byte for byte as it was.

#include "FuzzSupport.h"
#include "IniFormat.h"
#include "ProfileStore.h"

#include <cstdint>

namespace {

using Lists = std::array<std::array<QVariantList, ProfileStore::profileCount>, 3>;

Lists snapshot(ProfileStore &store) {
    Lists out;
    for (int g = ProfileStore::Firmware; g <= ProfileStore::Other; ++g)
        for (int p = 0; p < ProfileStore::profileCount; ++p)
            out[g][p] = store.list(ProfileStore::Group(g), p);
    return out;
}

// The values as text: the file's lists read back as text, the store's may hold numbers.
QStringList texts(const QVariantList &values) { return QVariant(values).toStringList(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const QString dir = fuzz::scratchDir() + QStringLiteral("/profile/");
    static const QByteArray golden = fuzz::readFile(QStringLiteral(Q7_FUZZ_FACTORY_PROFILE));
    static const bool ready = QDir().mkpath(dir) && !golden.isEmpty();
    FUZZ_CHECK(ready);
    const QString working = dir + QStringLiteral("p_Q7.bin");
    const QString defaults = dir + QStringLiteral("pD_Q7.bin");
    const QString imported = dir + QStringLiteral("import.pf");
    fuzz::writeFile(working, golden);
    fuzz::writeFile(defaults, golden);
    fuzz::writeFile(imported, fuzz::bytesOf(data, size));
    const int slot = 1 + int(size % 5);

    ProfileStore::ImportResult result;
    {
        ProfileStore store(working, defaults);
        store.loadAllProfiles();
        const Lists before = snapshot(store);
        result = store.importProfile(slot, imported);
        const Lists after = snapshot(store);

        for (int g = ProfileStore::Firmware; g <= ProfileStore::Other; ++g) {
            FUZZ_CHECK(store.dirtyFlags(ProfileStore::Group(g)).size() ==
                       ProfileStore::profileCount);
            for (int p = 0; p < ProfileStore::profileCount; ++p) {
                const QVariantList &l = store.list(ProfileStore::Group(g), p);
                FUZZ_CHECK(l.size() == ProfileStore::blockSize);
                if (p != slot || result != ProfileStore::ImportResult::Imported)
                    FUZZ_CHECK(texts(after[g][p]) == texts(before[g][p]));
            }
        }
        if (result == ProfileStore::ImportResult::Imported) {
            // The firmware block is what made the file acceptable, so the slot holds it.
            QSettings source(imported, qt48IniFormat());
            const int s = source.value(QStringLiteral("common/importProfile"), 0).toInt();
            const QStringList carried =
                source.value(QStringLiteral("profile_fw/%1").arg(s)).toStringList();
            FUZZ_CHECK(carried.size() == ProfileStore::blockSize);
            FUZZ_CHECK(texts(after[ProfileStore::Firmware][slot]) == carried);
            for (const QString &v : carried)
                FUZZ_CHECK(v.toUInt() <= 255);
        }
    }
    if (result != ProfileStore::ImportResult::Imported)
        FUZZ_CHECK(fuzz::readFile(working) == golden);
    return 0;
}
