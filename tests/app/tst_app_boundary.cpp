// The interface's boundary is written three times: the calls the QML makes on ui_View, the
// view's slots, and the stand-in the page tests record those calls with. A slot renamed,
// dropped or given another argument count on one side fails here at once, instead of first in
// a journey, or never where the stand-in alone had drifted.
#include "myQQuickView.h"

#include <QDir>
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

// The skin list: its skin numbers, and each image with the name it is read by (empty for an
// image whose path is built where it is shown).
struct SkinList {
    QList<int> skins;
    QMap<QString, QString> images;
};

SkinList skinList() {
    SkinList list;
    QFile file(sourceDir() + QStringLiteral("/tools/skins/images.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return list;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line.simplified()).split(u' ', Qt::SkipEmptyParts);
        if (fields.size() > 1 && fields[0] == QLatin1String("skin"))
            list.skins << fields[1].toInt();
        else if (!fields.isEmpty() && fields[0].endsWith(QLatin1String(".png")))
            list.images.insert(fields[0], fields.value(1));
    }
    return list;
}

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

    // The skin images are painted from one list, and the paths the interface reads by name are
    // generated from it; a page reading a name the list lacks shows nothing, and a listed image
    // nothing reads is painted for no one. Paths built where they are shown ("fnColor" +
    // "_1.png") are checked against the list directly.
    void skinPathsAndThePaintedListAgree() {
        const QMap<QString, QString> painted = skinList().images;
        const QString qml = sourceDir() + QStringLiteral("/modules/qml");
        const auto paths = interfaceMatches(qml, QRegularExpression(QStringLiteral(R"re("([A-Za-z][\w/-]*\.png)")re")));
        // Images addressed by a name and a state ("fnColor" + "_1.png") count by their stem.
        const auto stems = interfaceMatches(qml, QRegularExpression(QStringLiteral(R"re("(\w+)")re")));
        const auto reads = interfaceMatches(qml, QRegularExpression(QStringLiteral(R"(\b(?:mainIten|Theme)\.(source[A-Z]\w*))")));
        const QStringList names = painted.values();
        // Names of the shell's design that no page shows yet; painted so that one can.
        const QStringList unread = {QStringLiteral("sourcePaletteIndex"),
                                    QStringLiteral("sourceFnKeydefineBackground"),
                                    QStringLiteral("sourceFnMacroBackground")};
        QStringList drift;
        for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
            if (!painted.contains(it.key()))
                drift << QStringLiteral("%1 shows %2, which is not painted").arg(*it, it.key());
        }
        for (auto it = reads.cbegin(); it != reads.cend(); ++it) {
            if (!names.contains(it.key()) && it.key() != QLatin1String("sourceCustomBackground"))
                drift << QStringLiteral("%1 reads %2, which no listed image is").arg(*it, it.key());
        }
        static const QRegularExpression state(QStringLiteral(R"(^(?:.*/)?(\w+?)_[01]\.png$)"));
        for (auto it = painted.cbegin(); it != painted.cend(); ++it) {
            const auto stem = state.match(it.key());
            const bool built = paths.contains(it.key()) || (stem.hasMatch() && stems.contains(stem.captured(1)));
            if (it->isEmpty() ? !built : !reads.contains(*it) && !unread.contains(*it))
                drift << QStringLiteral("%1 is painted but nothing shows it").arg(it.key());
            else if (reads.contains(*it) && unread.contains(*it))
                drift << QStringLiteral("%1 is read now: take it off the unread names").arg(*it);
        }
        QVERIFY(painted.size() > 60 && reads.size() > 50);
        QVERIFY2(drift.isEmpty(), qPrintable(drift.join(u'\n')));
    }

    // The shell writes the look into the Theme its own folder names, the controls read the one
    // common/ names: one object, or no control would follow the settings. Its paths, generated
    // from the list, are where the painter put the images, in every skin; a mismatch would
    // show every control blank and fail nothing else.
    void themeIsOneAndItsPathsAreThePaintedImages() {
        const SkinList list = skinList();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQml\nimport \"qrc:/modules/qml\" as ShellFolder\n"
                          "import \"qrc:/modules/qml/common\"\n"
                          "QtObject { readonly property QtObject theme: Theme\n"
                          "    readonly property bool one: theme === ShellFolder.Theme && Shell === ShellFolder.Shell }",
                          QUrl());
        std::unique_ptr<QObject> holder(component.create());
        QVERIFY2(holder, qPrintable(component.errorString()));
        QVERIFY(holder->property("one").toBool());
        QObject *theme = holder->property("theme").value<QObject *>();
        const QDir bin(qEnvironmentVariable("Q7_BUILD_BIN"));
        QStringList missing;
        int named = 0;
        for (const int skin : list.skins) {
            theme->setProperty("skin_No", skin);
            for (const QString &name : list.images) {
                if (name.isEmpty())
                    continue;
                ++named;
                const QString path = theme->property(qPrintable(name)).toString();
                if (!path.startsWith(QLatin1String("file:")) || !QFile::exists(bin.filePath(path.mid(5))))
                    missing << QStringLiteral("%1 in skin %2: %3").arg(name).arg(skin).arg(path);
            }
        }
        QVERIFY(list.skins.size() > 1 && named > 100);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }
};

QTEST_MAIN(tst_app_boundary)
#include "tst_app_boundary.moc"
