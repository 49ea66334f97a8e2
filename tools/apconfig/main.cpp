// Writes the factory application configuration (apConfigD.bin and the first apConfig.bin)
// from the readable source apconfig.json, through the program's own settings format so the
// files have exactly the form the program writes.
//
//   q7_apconfig_gen <apconfig.json> <output file>...

#include "IniFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <utility>
#include <vector>

namespace {

struct BadSource {
    QString what;
};

using Entries = std::vector<std::pair<QString, QVariant>>;

QJsonValue need(const QJsonObject &object, const char *name) {
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        throw BadSource{QStringLiteral("missing \"%1\"").arg(QLatin1String(name))};
    return value;
}

int integer(const QJsonValue &value, const QString &what, int low, int high) {
    const double d = value.toDouble();
    if (!value.isDouble() || d < low || d > high || d != std::floor(d))
        throw BadSource{
            QStringLiteral("%1 must be an integer in %2..%3").arg(what).arg(low).arg(high)};
    return int(d);
}

QString text(const QJsonValue &value, const QString &what) {
    if (!value.isString())
        throw BadSource{what + QStringLiteral(" must be text")};
    return value.toString();
}

Entries entriesFrom(const QJsonObject &source) {
    Entries entries;
    entries.emplace_back(QStringLiteral("common/name"), text(need(source, "title"), "title"));

    // One product name per device-table entry; the table has two.
    QStringList names;
    for (const QJsonValue &v : need(source, "productNames").toArray())
        names.append(text(v, QStringLiteral("productNames element")));
    if (names.size() < 2)
        throw BadSource{QStringLiteral("productNames needs one name per device-table entry (2)")};
    entries.emplace_back(QStringLiteral("common/product_name"), names);

    // The 32 options in the order the settings page stores them.
    const QJsonObject o = need(source, "options").toObject();
    QVariantList options;
    options << integer(need(o, "layoutVersion"), "layoutVersion", 0, 255) << 0 << 0;
    options << integer(need(o, "animation"), "animation", 0, 1);
    options << integer(need(o, "language"), "language", 0, 999);
    if (!need(o, "customBackground").isBool())
        throw BadSource{QStringLiteral("customBackground must be true or false")};
    options << need(o, "customBackground").toBool();
    options << text(need(o, "customBackgroundSource"), "customBackgroundSource");
    options << integer(need(o, "textSize"), "textSize", 0, 1);
    const QJsonArray palette = need(o, "palette").toArray();
    if (palette.size() != 7)
        throw BadSource{QStringLiteral("palette needs seven colours")};
    for (const QJsonValue &colour : palette) {
        const QJsonArray rgb = colour.toArray();
        if (rgb.size() != 3)
            throw BadSource{QStringLiteral("a palette colour is [red, green, blue]")};
        for (const QJsonValue &c : rgb)
            options << integer(c, "palette component", 0, 255);
    }
    options << integer(need(o, "paletteSlot"), "paletteSlot", 0, 6);
    options << integer(need(o, "brightness"), "brightness", 0, 7);
    options << text(need(o, "webAddress"), "webAddress");

    entries.emplace_back(QStringLiteral("common/total"), int(options.size()));
    for (int i = 0; i < options.size(); ++i)
        entries.emplace_back(QStringLiteral("common/%1").arg(i), options.at(i));

    const QJsonObject p = need(source, "product").toObject();
    const int base = integer(need(p, "dpiBase"), "dpiBase", 1, 1000);
    entries.emplace_back(QStringLiteral("Q7/colorMaxStage"),
                         integer(need(p, "colorMaxStage"), "colorMaxStage", 1, 8));
    QStringList effects;
    for (const QJsonValue &v : need(p, "effectEnable").toArray()) {
        if (!v.isBool())
            throw BadSource{QStringLiteral("effectEnable holds true or false")};
        effects.append(v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    }
    if (effects.size() != 11)
        throw BadSource{QStringLiteral("effectEnable needs one flag per effect (11)")};
    entries.emplace_back(QStringLiteral("Q7/effectEnable"), effects);
    entries.emplace_back(QStringLiteral("Q7/dpiBase"), base);
    // The device keeps DPI / dpiBase in one byte, so every menu value must be a multiple
    // of the base that fits.
    QVariantList dpi;
    for (const QJsonValue &v : need(p, "dpiValue").toArray()) {
        const int value = integer(v, "dpiValue element", 0, 255 * base);
        if (value % base != 0)
            throw BadSource{QStringLiteral("dpiValue %1 is not a multiple of dpiBase").arg(value)};
        dpi << value;
    }
    if (dpi.size() < 18)
        throw BadSource{QStringLiteral("dpiValue needs at least 18 values for the menu")};
    entries.emplace_back(QStringLiteral("Q7/dpiValue"), dpi);
    return entries;
}

bool write(const QString &path, const Entries &entries) {
    // Start from nothing: the settings class would otherwise keep keys of an older file.
    QFile::remove(path);
    QSettings out(path, qt48IniFormat());
    // The format keeps the keys a file already has in place and appends new ones, so
    // flushing key by key gives the file the order of the source, as Qt 4.8 wrote it.
    for (const auto &[key, value] : entries) {
        out.setValue(key, value);
        out.sync();
        if (out.status() != QSettings::NoError)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        err << "usage: q7_apconfig_gen <apconfig.json> <output file>...\n";
        return 2;
    }
    QFile sourceFile(args.at(1));
    if (!sourceFile.open(QIODevice::ReadOnly)) {
        err << args.at(1) << ": cannot read\n";
        return 1;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(sourceFile.readAll(), &parseError);
    if (!doc.isObject()) {
        err << args.at(1) << ": " << parseError.errorString() << " at offset " << parseError.offset
            << "\n";
        return 1;
    }
    Entries entries;
    try {
        entries = entriesFrom(doc.object());
    } catch (const BadSource &bad) {
        err << args.at(1) << ": " << bad.what << "\n";
        return 1;
    }
    for (int i = 2; i < args.size(); ++i) {
        if (!write(args.at(i), entries)) {
            err << args.at(i) << ": cannot write\n";
            return 1;
        }
    }
    return 0;
}
