#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// The program's command line, in one table that both the parser and the manual page read.
namespace CommandLine {

struct Option {
    QStringList names;   // short and long names, without dashes
    QString description; // one sentence
    QString valueName;   // empty for an option without a value
};

QString programName();
QString version();
// The desktop entry's name without ".desktop" (also the Wayland app id).
QString desktopId();
// What the program is, in one line (the manual's NAME line and the help's first line).
QString summary();
QList<Option> options();

// The commands that work without a window (the running copy carries them out when there is
// one): what follows the program's name, what it does, and an example.
struct Command {
    QString name;
    QString arguments;
    QString description;
    QString example;
};
QList<Command> commands();
// The options only the commands take.
QList<Option> commandOptions();
// True when the first argument after the program's name is a command.
bool isCommand(const QStringList &arguments);

enum class Outcome { Run, ExitSuccess, ExitFailure };

// Reads the arguments Qt left after taking its own (-platform, -style ...). Prints help,
// the version or a usage error itself; Run means start the program.
Outcome handle(const QStringList &arguments);
// True when the arguments ask only for help or the version: answered before any display
// is looked for.
bool asksForInformation(const QStringList &arguments);
// The profile --profile asks for (1..5), or 0 when the option is not given. Call only after
// handle() said Run: the value is checked there.
int requestedProfile(const QStringList &arguments);

} // namespace CommandLine
