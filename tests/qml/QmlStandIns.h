// The QML test runners' setup: recording stand-ins published as ui_View and ui_Ctl exactly where
// the program publishes the real ones (the engine's root context).
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStringList>
#include <QVariant>

// Hands lists back the way the view's slots do (string lists and variants holding them are
// list-like objects on the script side, not script arrays), so the stand-ins can answer alike.
class NativeTypes : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    Q_INVOKABLE QStringList stringList(const QStringList &list) const { return list; }
    Q_INVOKABLE QVariant variant(const QVariant &value) const {
        return value.canConvert<QStringList>() && value.typeId() != QMetaType::QString
                   ? QVariant(value.toStringList())
                   : value;
    }
    Q_INVOKABLE QVariantList variantList(const QVariantList &list) const { return list; }
    Q_INVOKABLE QVariantMap map(const QVariantMap &map) const { return map; }
};

// A test may load the interface's files from the source tree instead of qrc:/modules/qml/.
// Files the build generates (Q7/BlockLayout.js, basic/KeyCodeString.qml) are not there; a
// request for one is answered from the build's copy of the module.
class GeneratedModuleFiles : public QQmlAbstractUrlInterceptor {
public:
    QUrl intercept(const QUrl &url, DataType) override {
        static const QString source = QStringLiteral(Q7_QML_SOURCE_DIR "/");
        if (!url.isLocalFile())
            return url;
        const QString path = QDir::cleanPath(url.toLocalFile());
        if (!path.startsWith(source) || QFileInfo::exists(path))
            return url;
        const QString built = QStringLiteral(Q7_QML_BUILD_DIR "/") + path.mid(source.size());
        return QFileInfo::exists(built) ? QUrl::fromLocalFile(built) : url;
    }
};

class StandIns : public QObject {
    Q_OBJECT
    GeneratedModuleFiles generated;

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine) {
        engine->addUrlInterceptor(&generated);
        // Skin images are addressed relative to the program's folder, as in the program.
        const QString bin = qEnvironmentVariable("Q7_BUILD_BIN");
        if (!bin.isEmpty())
            QDir::setCurrent(bin);
        engine->rootContext()->setContextProperty(QStringLiteral("nativeTypes"),
                                                  new NativeTypes(engine));
        publish(engine, QStringLiteral("ui_View"), QStringLiteral("StandInView.qml"));
        publish(engine, QStringLiteral("ui_Ctl"), QStringLiteral("StandInCtl.qml"));
    }

private:
    static void publish(QQmlEngine *engine, const QString &name, const QString &file) {
        QQmlComponent component(engine,
                                QUrl::fromLocalFile(QStringLiteral(Q7_STAND_IN_DIR "/") + file));
        QObject *object = component.create();
        if (!object)
            qFatal("%s", qPrintable(component.errorString()));
        object->setParent(engine);
        engine->rootContext()->setContextProperty(name, object);
    }
};
