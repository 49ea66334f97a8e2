#pragma once

#include "ScriptOperations.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The command line's commands (status, profile, export, import, set): read from the
// arguments, carried out on a ScriptOperations, told as text for a terminal or a script.
// Whoever carries them out, the running window or a session of the command's own, reads the
// same arguments here, so both refuse and answer alike.
namespace ScriptCommand {

struct Output {
    int code = ScriptResult::Done;
    QString out; // standard output: what was asked for (status)
    QString err; // standard error: what went wrong, in plain words
};

// `arguments` as the program got them, its own name first. Files are taken as given:
// absolutePaths() first when another process carries the command out.
Output execute(ScriptOperations &operations, const QStringList &arguments);
QStringList absolutePaths(const QStringList &arguments);

QString statusText(const ScriptStatus &status);
// The stable JSON form (docs/interface.md, "Scripting").
QByteArray statusJson(const ScriptStatus &status);

// How a command and its outcome travel to and from the running copy.
QByteArray encodeRequest(const QStringList &arguments);
std::optional<QStringList> decodeRequest(const QByteArray &bytes);
QByteArray encodeReply(const Output &output);
std::optional<Output> decodeReply(const QByteArray &bytes);

// The whole command in the program's process (a QCoreApplication exists): to the running
// copy when there is one, else with the mouse and the profile file opened here. The exit code.
int run(const QStringList &arguments);

} // namespace ScriptCommand
