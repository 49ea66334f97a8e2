// The interface's boundary is written three times: the calls the QML makes on ui_View, the
// view's slots, and the stand-in the page tests record those calls with. A slot renamed,
// dropped or given another argument count on one side fails here at once, instead of first in
// a journey, or never where the stand-in alone had drifted.
#include "myQQuickView.h"

#include <QDirIterator>
#include <QFile>
#include <QMetaMethod>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTest>

namespace {

// Name to the argument counts it can be called with (a slot with default arguments has several).
using Arities = QMap<QString, QSet<int>>;

// The stand-in's own helpers for the tests, which the view has no use for.
const QStringList standInHelpers = {QStringLiteral("record"),  QStringLiteral("clear"),
                                    QStringLiteral("assign"),  QStringLiteral("names"),
                                    QStringLiteral("callsOf"), QStringLiteral("has"),
                                    QStringLiteral("withFile"), QStringLiteral("macroNamesSorted")};

Arities viewSlots() {
    Arities found;
    const QMetaObject &meta = myQQuickView::staticMetaObject;
    for (int i = 0; i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.access() == QMetaMethod::Public &&
            (method.methodType() == QMetaMethod::Slot || method.methodType() == QMetaMethod::Method))
            found[QString::fromLatin1(method.name())].insert(method.parameterCount());
    }
    return found;
}

Arities functionsOf(const QObject *object) {
    Arities functions;
    const QMetaObject *meta = object->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        // QML declares its functions as slots.
        if (method.methodType() == QMetaMethod::Slot || method.methodType() == QMetaMethod::Method)
            functions[QString::fromLatin1(method.name())].insert(method.parameterCount());
    }
    return functions;
}

// Every match of `pattern`'s first group in the interface's QML and scripts, with a file that
// has it.
QMap<QString, QString> interfaceMatches(const QString &folder, const QRegularExpression &pattern) {
    QMap<QString, QString> found;
    QDirIterator files(folder, {QStringLiteral("*.qml"), QStringLiteral("*.js")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = pattern.globalMatch(text); match.hasNext();)
            found.insert(match.next().captured(1), file.fileName().mid(folder.size() + 1));
    }
    return found;
}

QString sourceDir() { return qEnvironmentVariable("Q7_SOURCE_DIR"); }

} // namespace

class tst_app_boundary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pagesStandInAndViewAgree() {
        QQmlEngine engine;
        QQmlComponent component(&engine, QUrl::fromLocalFile(sourceDir() + QStringLiteral("/tests/qml/StandInView.qml")));
        std::unique_ptr<QObject> standIn(component.create());
        QVERIFY2(standIn, qPrintable(component.errorString()));

        const Arities view = viewSlots();
        const Arities answers = functionsOf(standIn.get());
        QStringList drift;
        // What the stand-in answers is a slot the program has, callable the same way.
        for (auto it = answers.cbegin(); it != answers.cend(); ++it) {
            if (standInHelpers.contains(it.key()))
                continue;
            if (!view.contains(it.key()))
                drift << QStringLiteral("stand-in %1: no such slot").arg(it.key());
            else if (!view[it.key()].contains(*it->cbegin()))
                drift << QStringLiteral("stand-in %1 takes %2 arguments, the slot does not")
                             .arg(it.key()).arg(*it->cbegin());
        }
        for (const QString &helper : standInHelpers) {
            if (!answers.contains(helper))
                drift << QStringLiteral("stand-in helper %1: gone (take it off the list)").arg(helper);
            else if (view.contains(helper))
                drift << QStringLiteral("stand-in helper %1: the view has a slot of that name").arg(helper);
        }
        // What the interface asks of ui_View, the view has and the page tests can answer.
        const auto lookups = interfaceMatches(sourceDir() + QStringLiteral("/modules/qml"),
                                              QRegularExpression(QStringLiteral(R"(\bui_View\.(\w+))")));
        QVERIFY(lookups.size() > 40);
        for (auto it = lookups.cbegin(); it != lookups.cend(); ++it) {
            const bool property = myQQuickView::staticMetaObject.indexOfProperty(qPrintable(it.key())) >= 0;
            if (!view.contains(it.key()) && !property)
                drift << QStringLiteral("%1 looks up ui_View.%2: the view has none").arg(*it, it.key());
            if (!answers.contains(it.key()) && !standIn->property(qPrintable(it.key())).isValid())
                drift << QStringLiteral("%1 looks up ui_View.%2: the stand-in has none").arg(*it, it.key());
        }
        QVERIFY2(drift.isEmpty(), qPrintable(drift.join(u'\n')));
    }

    // The skin images are painted from one list; the interface names them again in its paths.
    // A path the list lacks shows nothing at run time, and a listed image nothing shows is
    // painted for no one: both fail here.
    void skinPathsAndThePaintedListAgree() {
        QFile list(sourceDir() + QStringLiteral("/tools/skins/images.txt"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QSet<QString> painted;
        for (const QByteArray &line : list.readAll().split('\n')) {
            if (!line.trimmed().isEmpty() && !line.startsWith('#'))
                painted.insert(QString::fromUtf8(line.trimmed()));
        }
        const auto paths = interfaceMatches(sourceDir() + QStringLiteral("/modules/qml"),
                                            QRegularExpression(QStringLiteral(R"re("([A-Za-z][\w/-]*\.png)")re")));
        // Images addressed by a name and a state ("fnColor" + "_1.png") count by their stem.
        const auto stems = interfaceMatches(sourceDir() + QStringLiteral("/modules/qml"),
                                            QRegularExpression(QStringLiteral(R"re("(\w+)")re")));
        QStringList drift;
        for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
            if (!painted.contains(it.key()))
                drift << QStringLiteral("%1 shows %2, which is not painted").arg(*it, it.key());
        }
        static const QRegularExpression state(QStringLiteral(R"(^(?:.*/)?(\w+?)_[01]\.png$)"));
        for (const QString &image : std::as_const(painted)) {
            const auto stem = state.match(image);
            if (!paths.contains(image) && !(stem.hasMatch() && stems.contains(stem.captured(1))))
                drift << QStringLiteral("%1 is painted but nothing shows it").arg(image);
        }
        QVERIFY(painted.size() > 60);
        QVERIFY2(drift.isEmpty(), qPrintable(drift.join(u'\n')));
    }
};

QTEST_MAIN(tst_app_boundary)
#include "tst_app_boundary.moc"
