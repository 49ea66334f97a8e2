#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <cstdio>

namespace CommandLine {

namespace {
const Option helpOption{{QStringLiteral("h"), QStringLiteral("help")},
                        QStringLiteral("Show these options and exit."), QString()};
const Option versionOption{{QStringLiteral("v"), QStringLiteral("version")},
                           QStringLiteral("Show the program's version and exit."), QString()};

const Option profileOption{{QStringLiteral("profile")},
                           QStringLiteral("Switch the running copy to profile N (1 to 5), or start on it."),
                           QStringLiteral("N")};

void print(FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString helpText() {
    QString text =
        QStringLiteral("Usage: %1 [options]\n%2\n\nOptions:\n").arg(programName(), summary());
    for (const Option &o : options()) {
        QStringList names;
        for (const QString &n : o.names)
            names.append((n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n);
        if (!o.valueName.isEmpty())
            names.last() += QLatin1Char(' ') + o.valueName;
        text += QStringLiteral("  %1  %2\n")
                    .arg(names.join(QStringLiteral(", ")), -16)
                    .arg(o.description);
    }
    text += QStringLiteral("\nQt's own options (-platform, -style, -display ...) are taken too.\n");
    return text;
}

// Unknown options are not errors here: the information request is answered before Qt has
// taken its own options out of the list.
bool parse(QCommandLineParser &parser, const QStringList &arguments) {
    for (const Option &o : options())
        parser.addOption(QCommandLineOption(o.names, o.description, o.valueName));
    return parser.parse(arguments);
}
} // namespace

QString programName() { return QStringLiteral("q7config"); }
QString version() { return QStringLiteral(Q7_VERSION); }
QString desktopId() { return QStringLiteral(Q7_APP_ID); }
QString summary() {
    return QStringLiteral("configure the Q7 gaming mouse: profiles, DPI stages, lighting, "
                          "buttons and macros");
}
QList<Option> options() { return {helpOption, versionOption, profileOption}; }

int requestedProfile(const QStringList &arguments) {
    QCommandLineParser parser;
    parse(parser, arguments);
    if (!parser.isSet(profileOption.names.last()))
        return 0;
    bool ok = false;
    const int profile = parser.value(profileOption.names.last()).toInt(&ok);
    return ok && profile >= 1 && profile <= 5 ? profile : -1;
}

bool asksForInformation(const QStringList &arguments) {
    QCommandLineParser parser;
    parse(parser, arguments);
    return parser.isSet(helpOption.names.last()) || parser.isSet(versionOption.names.last());
}

Outcome handle(const QStringList &arguments) {
    QCommandLineParser parser;
    const bool parsed = parse(parser, arguments);
    if (parser.isSet(helpOption.names.last())) {
        print(stdout, helpText());
        return Outcome::ExitSuccess;
    }
    if (parser.isSet(versionOption.names.last())) {
        print(stdout, programName() + QLatin1Char(' ') + version() + QLatin1Char('\n'));
        return Outcome::ExitSuccess;
    }
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QString problem =
            parsed ? QStringLiteral("unexpected argument: ") + parser.positionalArguments().first()
                   : parser.errorText();
        print(stderr, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(programName(), problem));
        return Outcome::ExitFailure;
    }
    if (requestedProfile(arguments) < 0) {
        print(stderr, QStringLiteral("%1: --profile takes a profile number from 1 to 5\nTry '%1 --help'.\n")
                          .arg(programName()));
        return Outcome::ExitFailure;
    }
    return Outcome::Run;
}

} // namespace CommandLine
