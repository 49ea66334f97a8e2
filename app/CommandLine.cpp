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

QString optionLines(const QList<Option> &list) {
    QString text;
    for (const Option &o : list) {
        QStringList names;
        for (const QString &n : o.names)
            names.append((n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n);
        if (!o.valueName.isEmpty())
            names.last() += QLatin1Char(' ') + o.valueName;
        text += QStringLiteral("  %1  %2\n")
                    .arg(names.join(QStringLiteral(", ")), -16)
                    .arg(o.description);
    }
    return text;
}

QString helpText() {
    QString text = QStringLiteral("Usage: %1 [options]\n       %1 COMMAND [ARGUMENTS]\n%2\n\n"
                                  "Options:\n")
                       .arg(programName(), summary());
    text += optionLines(options());
    text += QStringLiteral("\nCommands (carried out by the running window when there is one, "
                           "else without a window):\n");
    for (const Command &c : commands())
        text += QStringLiteral("  %1 %2\n      %3\n      e.g. %4\n")
                    .arg(c.name, c.arguments, c.description, c.example);
    text += QStringLiteral("\nCommand options:\n") + optionLines(commandOptions());
    text += QStringLiteral("\nExit status of a command: 0 done, 2 bad arguments, 3 no mouse "
                           "(a change is kept in the profile file for when it is back), 4 the "
                           "mouse refused.\n");
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

QList<Command> commands() {
    const QString p = programName();
    return {
        {QStringLiteral("status"), QStringLiteral("[--json]"),
         QStringLiteral("Tell whether the mouse is there, its firmware, the current profile and "
                        "each profile's report rate, DPI stages and lighting."),
         p + QStringLiteral(" status --json")},
        {QStringLiteral("profile"), QStringLiteral("N"),
         QStringLiteral("Switch the mouse to profile N (1 to 5)."), p + QStringLiteral(" profile 2")},
        {QStringLiteral("export"), QStringLiteral("N FILE"),
         QStringLiteral("Write profile N to FILE, as the profile menu's export does."),
         p + QStringLiteral(" export 1 ~/fps.pf")},
        {QStringLiteral("import"), QStringLiteral("N FILE"),
         QStringLiteral("Read FILE into profile N and send it to the mouse; a file the window "
                        "would refuse changes nothing."),
         p + QStringLiteral(" import 3 ~/fps.pf")},
        {QStringLiteral("set"), QStringLiteral("rate|dpi|stage|effect|brightness VALUE"),
         QStringLiteral("Set one value of the current profile (or of --profile N): rate in Hz "
                        "(125, 250, 500, 1000), dpi of the current stage, the current DPI stage, "
                        "the lighting effect by name or number, brightness 0 to 7."),
         p + QStringLiteral(" set effect breathing --profile 2")},
    };
}

QList<Option> commandOptions() {
    return {{{QStringLiteral("json")},
             QStringLiteral("status: answer in JSON (see the interface documentation)."),
             QString()},
            {{QStringLiteral("profile")},
             QStringLiteral("set: change profile N instead of the current one."),
             QStringLiteral("N")}};
}

bool isCommand(const QStringList &arguments) {
    if (arguments.size() < 2)
        return false;
    for (const Command &c : commands())
        if (arguments.at(1) == c.name)
            return true;
    return false;
}

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
