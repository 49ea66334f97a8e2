// Writes the manual page q7config.1 from the program's own option table, so the page and
// --help cannot tell different stories.
#include "CommandLine.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {
// Text as roff reads it: a leading dot or quote would start a request, a backslash an escape,
// and a minus in an option name must stay a minus.
QString roff(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QStringLiteral("\\&"));
    return text;
}
} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTPUT DATE UDEV-RULE-PATH\n", argv[0]);
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream out(&file);
    const QString name = CommandLine::programName();
    out << ".TH " << name.toUpper() << " 1 \"" << argv[2] << "\" \"" << name << ' '
        << CommandLine::version() << "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << name << " \\- " << roff(CommandLine::summary()) << '\n'
        << ".SH SYNOPSIS\n"
        << ".B " << name << "\n.RI [ options ]\n.br\n"
        << ".B " << name << "\n.I command\n.RI [ arguments ]\n"
        << ".SH DESCRIPTION\n"
        << ".B " << name << '\n'
        << roff(QStringLiteral(
               "edits the profiles of a Q7 USB gaming mouse (report rate, DPI stages and their "
               "indicator colours, RGB lighting), gives every button a function, records macros "
               "and uploads them into the mouse, exports, imports and resets profiles, and keeps "
               "the desktop's pointer settings per profile."))
        << '\n'
        << ".PP\n"
        << roff(QStringLiteral("Only one copy runs per user; a second start exits at once."))
        << '\n'
        << ".SH OPTIONS\n";
    for (const CommandLine::Option &o : CommandLine::options()) {
        out << ".TP\n";
        QStringList names;
        for (const QString &n : o.names)
            names.append(QStringLiteral("\\fB") + roff((n.size() == 1 ? "-" : "--") + n) +
                         QStringLiteral("\\fR"));
        QString line = names.join(QStringLiteral(", "));
        if (!o.valueName.isEmpty())
            line += QStringLiteral(" \\fI") + roff(o.valueName) + QStringLiteral("\\fR");
        out << line << '\n' << roff(o.description) << '\n';
    }
    out << ".PP\n"
        << roff(QStringLiteral("Qt's own options, such as -platform and -style, are taken too."))
        << '\n'
        << ".SH COMMANDS\n"
        << roff(QStringLiteral(
               "A command needs no display. When a copy of the program runs, it carries the "
               "command out, so its window shows the change at once; otherwise the command opens "
               "the mouse and the profile file itself and exits. Profiles are numbered 1 to 5."))
        << '\n';
    for (const CommandLine::Command &c : CommandLine::commands())
        out << ".TP\n\\fB" << roff(c.name) << "\\fR \\fI" << roff(c.arguments) << "\\fR\n"
            << roff(c.description) << '\n'
            << ".RS\n.EX\n" << roff(c.example) << "\n.EE\n.RE\n";
    out << ".PP\n" << roff(QStringLiteral("Options of the commands:")) << '\n';
    for (const CommandLine::Option &o : CommandLine::commandOptions()) {
        QString line = QStringLiteral("\\fB") + roff(QStringLiteral("--") + o.names.first()) +
                       QStringLiteral("\\fR");
        if (!o.valueName.isEmpty())
            line += QStringLiteral(" \\fI") + roff(o.valueName) + QStringLiteral("\\fR");
        // On a line of its own however short, as the options above stand.
        out << ".TP\n" << line << "\n.br\n" << roff(o.description) << '\n';
    }
    out << ".SH FILES\n"
        << ".TP\n.I ~/.local/share/q7config/\n"
        << roff(QStringLiteral(
               "The profile settings, the application configuration and the macro library of an "
               "installed copy ($XDG_DATA_HOME/q7config when that is set), seeded from the "
               "factory files at the first start. A copy in a folder its user can write keeps "
               "them in its own modules/ folder instead."))
        << '\n'
        << ".TP\n.I " << roff(QString::fromLocal8Bit(argv[3])) << '\n'
        << roff(QStringLiteral("Gives the user at the seat access to the mouse.")) << '\n'
        << ".SH EXIT STATUS\n"
        << ".TP\n0\n"
        << roff(QStringLiteral("The window was closed, or a command was carried out.")) << '\n'
        << ".TP\n1\n"
        << roff(QStringLiteral("Another copy runs for this user, or the command line is wrong."))
        << '\n'
        << ".TP\n2\n"
        << roff(QStringLiteral("No display could be opened; for a command, its arguments are "
                               "wrong (nothing was changed).")) << '\n'
        << ".TP\n3\n"
        << roff(QStringLiteral("A command found no mouse: a change is kept in the profile file, "
                               "marked, and goes to the mouse when it is back.")) << '\n'
        << ".TP\n4\n"
        << roff(QStringLiteral("A command's change was refused by the mouse (it is kept in the "
                               "profile file, marked), or the running copy did not answer.")) << '\n';
    out.flush();
    return out.status() == QTextStream::Ok ? 0 : 1;
}
