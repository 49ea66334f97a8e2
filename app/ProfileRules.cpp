#include "ProfileRules.h"

#include "ApConfig.h"

#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QtDebug>

namespace {
// Beside the pages in the interface's resources, so the libraries import as the pages do.
const char *const bridgeUrl = "qrc:/modules/qml/Q7/ScriptRules.qml";
const char *const bridgeSource = R"(
import QtQml
import "sensor/SensorRules.js" as Sensor
import "color/ColorRules.js" as Colour
QtObject {
    function rateCode(position) { return Sensor.rateCode(position) }
    function ratePosition(code) { return Sensor.ratePosition(code) }
    function dpiValues(list, base) { return Sensor.dpiValues(list, base) }
    function dpiStageList(dpis, base) { return Sensor.dpiStageList(dpis, base) }
    function effectCodes(enable) { return Colour.effectTable(enable).codes }
    function effectLabel(code) { var e = Colour.effectOf(code); return e ? e.label : "" }
    function speedPosition(effect, speed) { return Colour.speedPosition(effect, speed) }
    function speedByte(effect, position) { return Colour.speedByte(effect, position) }
    function brightnessByte(step) { return Colour.brightnessByte(step) }
    function brightnessPosition(b) { return Colour.brightnessPosition(b) }
}
)";

// A product constant that lists one value reads back as that value, not a list.
QVariantList listOf(const QVariant &value) {
    QVariantList out;
    for (const QString &s : value.toStringList())
        out.append(s);
    return out;
}
} // namespace

ProfileRules::ProfileRules(ApConfig &config) {
    dpiBase = config.productConstant(QStringLiteral("dpiBase")).toInt();
    for (const QVariant &v : listOf(config.productConstant(QStringLiteral("dpiValue")))) {
        const int dpi = v.toInt();
        if (dpi > 0 && !offered.contains(dpi))
            offered.append(dpi);
    }
    effectEnable = listOf(config.productConstant(QStringLiteral("effectEnable")));
}

ProfileRules::~ProfileRules() {
    // The object before the engine that made it.
    rules.reset();
}

bool ProfileRules::loaded() const {
    if (rules || engine)
        return rules != nullptr;
    engine = std::make_unique<QQmlEngine>();
    QQmlComponent component(engine.get());
    component.setData(bridgeSource, QUrl(QString::fromLatin1(bridgeUrl)));
    rules.reset(component.create());
    if (!rules)
        qWarning() << "the pages' rules could not be loaded:" << component.errorString();
    return rules != nullptr;
}

QVariant ProfileRules::call(const char *function, const QVariantList &args) const {
    if (!loaded())
        return QVariant();
    QVariant result;
    bool ok = false;
    switch (args.size()) {
    case 0:
        ok = QMetaObject::invokeMethod(rules.get(), function, Q_RETURN_ARG(QVariant, result));
        break;
    case 1:
        ok = QMetaObject::invokeMethod(rules.get(), function, Q_RETURN_ARG(QVariant, result),
                                       Q_ARG(QVariant, args[0]));
        break;
    default:
        ok = QMetaObject::invokeMethod(rules.get(), function, Q_RETURN_ARG(QVariant, result),
                                       Q_ARG(QVariant, args[0]), Q_ARG(QVariant, args[1]));
        break;
    }
    if (!ok)
        qWarning() << "the pages' rule" << function << "could not be called";
    // Script values may come back wrapped; the callers want plain numbers, texts and lists.
    if (result.metaType() == QMetaType::fromType<QJSValue>())
        result = result.value<QJSValue>().toVariant();
    return result;
}

QList<int> ProfileRules::rates() const {
    QList<int> out;
    if (!loaded())
        return out;
    // The fastest code (1) sits on the last button.
    const int last = call("ratePosition", {1}).toInt();
    for (int position = 0; position <= last; ++position) {
        const int code = call("rateCode", {position}).toInt();
        // The mouse stores the milliseconds between reports.
        out.append(code > 0 ? 1000 / code : 0);
    }
    return out;
}

int ProfileRules::rateCode(int hz) const {
    const int position = rates().indexOf(hz);
    return position < 0 ? -1 : call("rateCode", {position}).toInt();
}

int ProfileRules::rateHz(int code) const {
    return rates().value(call("ratePosition", {code}).toInt());
}

QList<int> ProfileRules::dpiValues(const QVariantList &stored) const {
    QList<int> out;
    for (const QVariant &v : call("dpiValues", {stored, dpiBase}).toList())
        out.append(v.toInt());
    return out;
}

QVariantList ProfileRules::dpiStageList(const QList<int> &dpis) const {
    QVariantList in;
    for (int d : dpis)
        in.append(d);
    QVariantList out;
    for (const QVariant &v : call("dpiStageList", {in, dpiBase}).toList())
        out.append(v.toUInt());
    return out;
}

QList<int> ProfileRules::effectCodes() const {
    QList<int> out;
    for (const QVariant &v : call("effectCodes", {QVariant(effectEnable)}).toList())
        out.append(v.toInt());
    return out;
}

QString ProfileRules::effectLabel(int code) const {
    return call("effectLabel", {code}).toString();
}

int ProfileRules::speedByteKeepingPosition(int fromEffect, int fromSpeedByte,
                                           int toEffect) const {
    const int position = call("speedPosition", {fromEffect, fromSpeedByte}).toInt();
    return call("speedByte", {toEffect, position}).toInt();
}

int ProfileRules::brightnessByte(int step) const { return call("brightnessByte", {step}).toInt(); }

int ProfileRules::brightnessStep(int storedByte) const {
    return call("brightnessPosition", {storedByte}).toInt();
}
