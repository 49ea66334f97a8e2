// Writes the factory profile files: the defaults file pD_Q7.bin and the first working file
// p_Q7.bin, which start out alike. The firmware blocks come from the firmware's factory
// table, so the files and a factory-fresh mouse agree; the few values the mouse does not
// keep in a block are listed below.
#include "FactoryBlocks.h"
#include "Qt48Ini.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstdio>

namespace {

// Settings the program keeps per profile besides the mouse's blocks: pointer acceleration,
// cursor speed, scroll lines index, double-click speed.
const QVariantList pointerSettings = {false, 5, 2, 5};

constexpr int curProfile = 1; // the first profile the menu offers
const QString vendorId = QStringLiteral("04d9");
const QString productId = QStringLiteral("a1b7");

QVariantList numbers(const factory::Block &block) {
    QVariantList out;
    for (std::uint8_t b : block)
        out.append(int(b));
    return out;
}

// DPI stage, report rate code, LED twinkle type (profile 0 only), then zeros.
factory::Block otherBlock(int profile) {
    factory::Block b{};
    b[0] = factory::dpiStage;
    b[1] = factory::reportRateCode;
    b[2] = profile == 0 ? factory::ledTwinkleType : 0;
    return b;
}

QList<qt48ini::Entry> entries() {
    QList<qt48ini::Entry> e;
    e.append({QStringLiteral("common/curProfile"), curProfile});
    e.append({QStringLiteral("common/sc"), QString()});
    e.append({QStringLiteral("Q7/vid"), vendorId});
    e.append({QStringLiteral("Q7/pid"), productId});

    const QVariantList clean = {false, false, false, false, false, false};
    auto group = [&](const QString &name, auto block) {
        for (int p = 0; p < layout::profileCount; ++p)
            e.append({name + QLatin1Char('/') + QString::number(p), numbers(block(p))});
        e.append({name + QStringLiteral("/dirty"), clean});
    };
    group(QStringLiteral("profile_fw"), [](int p) { return factory::profileBlock(p); });
    group(QStringLiteral("matrix_fw"), [](int p) { return factory::keyMatrixBlock(p); });
    group(QStringLiteral("other_fw"), otherBlock);
    for (int p = 0; p < layout::profileCount; ++p)
        e.append({QStringLiteral("profile_sw/") + QString::number(p), pointerSettings});
    return e;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output file>...\n", argv[0]);
        return 2;
    }
    const QByteArray bytes = qt48ini::serialize(entries(), qt48ini::Codec::Latin1, "\n");
    for (int i = 1; i < argc; ++i) {
        QFile out(QString::fromLocal8Bit(argv[i]));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
