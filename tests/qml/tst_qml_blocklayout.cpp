// The interface's block layout is generated from the device's header: every name the pages
// use must carry the header's value in the file the program actually loads.
#include "BlockLayout.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include <memory>

class TestBlockLayoutJs : public QObject {
    Q_OBJECT
private slots:
    void generatedFileMatchesTheHeader() {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(import QtQuick
import "qrc:/modules/qml/Q7/BlockLayout.js" as Layout
QtObject {
    function value(path) {
        var v = Layout
        for (const part of path.split("."))
            v = v === undefined ? undefined : v[part]
        return v === undefined ? -1 : v
    }
})",
                          QUrl(QStringLiteral("qrc:/layout-probe.qml")));
        std::unique_ptr<QObject> probe(component.create());
        QVERIFY2(probe, qPrintable(component.errorString()));

        namespace fw = layout::profileFw;
        namespace cmd = layout::command;
        const QList<QPair<QString, long>> names = {
            {"blockSize", layout::blockSize},
            {"profileCount", layout::profileCount},
            {"macroSlots", layout::macroSlots},
            {"profileFw.stages", fw::stages},
            {"profileFw.indicatorIndex", fw::indicatorIndex},
            {"profileFw.lightingColours", fw::lightingColours},
            {"profileFw.lightingColourCount", fw::lightingColourCount},
            {"profileFw.stageCount", fw::stageCount},
            {"profileFw.effect", fw::effect},
            {"profileFw.brightness", fw::brightness},
            {"profileFw.speed", fw::speed},
            {"profileFw.dpi", fw::dpi},
            {"profileFw.dpiCopy", fw::dpiCopy},
            {"profileFw.indicatorRgb", fw::indicatorRgb},
            {"profileFw.indicatorIndexLength", fw::indicatorIndexLength},
            {"profileFw.lightingColoursLength", fw::lightingColoursLength},
            {"profileFw.effectLength", fw::effectLength},
            {"profileFw.dpiLength", fw::dpiLength},
            {"profileFw.indicatorRgbLength", fw::indicatorRgbLength},
            {"otherFw.dpiStage", layout::otherFw::dpiStage},
            {"otherFw.reportRate", layout::otherFw::reportRate},
            {"otherFw.ledTwinkle", layout::otherFw::ledTwinkle},
            {"keyMatrix.entries", layout::keyMatrix::entries},
            {"keyMatrix.entrySize", layout::keyMatrix::entrySize},
            {"keyMatrix.used", layout::keyMatrix::used},
            {"command.setCurrentProfile", cmd::setCurrentProfile},
            {"command.setReportRate", cmd::setReportRate},
            {"command.setDpiStage", cmd::setDpiStage},
            {"command.setFwProfile", cmd::setFwProfile},
            {"command.setKeyMatrix", cmd::setKeyMatrix},
            {"command.setMacro", cmd::setMacro},
            {"dpiShown159", long(layout::dpiShown159)},
            {"dpiStored159", long(layout::dpiStored159)},
            {"paletteOrange", long(layout::paletteOrange)},
            {"paletteOrangeStored", long(layout::paletteOrangeStored)},
        };
        for (const auto &[name, expected] : names) {
            QVariant got;
            QVERIFY(QMetaObject::invokeMethod(probe.get(), "value", Q_RETURN_ARG(QVariant, got),
                                              Q_ARG(QVariant, name)));
            QVERIFY2(got.toLongLong() == expected,
                     qPrintable(QStringLiteral("%1 is %2, the header says %3")
                                    .arg(name, got.toString())
                                    .arg(expected)));
        }
    }
};

QTEST_GUILESS_MAIN(TestBlockLayoutJs)
#include "tst_qml_blocklayout.moc"
