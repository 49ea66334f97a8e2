// Turns the key-name data file into the two places that need it: the program's table
// (C++) and the interface's KeyCodeString component (QML). Both sides are generated from
// the same rows at build time, so a name the interface records is always a name the macro
// encoder knows.
//
//   q7_keynames_gen <rows.tsv> [--cpp <out.cpp>] [--qml <out.qml>]

#include "KeyNameRows.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

bool writeIfChanged(const QString &path, const QByteArray &content, QString *error) {
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == content)
        return true; // leave the timestamp alone so nothing rebuilds needlessly
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString input, cppOut, qmlOut;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cpp") && i + 1 < args.size())
            cppOut = args[++i];
        else if (args[i] == QLatin1String("--qml") && i + 1 < args.size())
            qmlOut = args[++i];
        else if (input.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            input = args[i];
        else {
            std::fprintf(stderr, "usage: q7_keynames_gen <rows.tsv> [--cpp out] [--qml out]\n");
            return 2;
        }
    }
    if (input.isEmpty()) {
        std::fprintf(stderr, "usage: q7_keynames_gen <rows.tsv> [--cpp out] [--qml out]\n");
        return 2;
    }

    QFile in(input);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", qPrintable(input));
        return 1;
    }
    QString error;
    const QList<KeyNameSourceRow> rows = parseKeyNameRows(in.readAll(), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(input), qPrintable(error));
        return 1;
    }
    if (!cppOut.isEmpty() && !writeIfChanged(cppOut, renderKeyNameCpp(rows), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (!qmlOut.isEmpty() && !writeIfChanged(qmlOut, renderKeyNameQml(rows), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
