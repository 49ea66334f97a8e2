#include "ScriptCommand.h"

#include "ApConfig.h"
#include "CommandLine.h"
#include "CopyData.h"
#include "CopyDataFrame.h"
#include "DataPaths.h"
#include "DeviceBridge.h"
#include "MS_HT66FB560.h"
#include "MouseLink.h"
#include "ProfileRules.h"
#include "ProfileStore.h"
#include "SingleInstance.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

#include <cstdio>

namespace ScriptCommand {

namespace {
Output badArguments(const QString &why) {
    return {ScriptResult::BadArguments, QString(),
            QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(CommandLine::programName(), why)};
}

Output told(const ScriptResult &result) {
    Output o;
    o.code = result.code;
    if (result.code == ScriptResult::BadArguments)
        return badArguments(result.message);
    // Quiet when done, as a script expects of a command that did what it was told.
    if (result.code != ScriptResult::Done && !result.message.isEmpty())
        o.err = result.message + QLatin1Char('\n');
    return o;
}

bool profileNumber(const QString &text, int &profile) {
    bool ok = false;
    profile = text.toInt(&ok);
    return ok;
}

// How long a script waits for the running copy: it may be reading the mouse (a refill holds
// it for a few seconds) before it carries the command out.
constexpr int answerTimeoutMs = 70000;
} // namespace

Output execute(ScriptOperations &operations, const QStringList &arguments) {
    QCommandLineParser parser;
    for (const CommandLine::Option &o : CommandLine::commandOptions())
        parser.addOption(QCommandLineOption(o.names, o.description, o.valueName));
    if (!parser.parse(arguments))
        return badArguments(parser.errorText());
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const int given = int(args.size()) - 1;
    const bool json = parser.isSet(QStringLiteral("json"));
    const bool profileOption = parser.isSet(QStringLiteral("profile"));
    if (json && command != QLatin1String("status"))
        return badArguments(QStringLiteral("--json goes with status only"));
    if (profileOption && command != QLatin1String("set"))
        return badArguments(QStringLiteral("--profile goes with set only"));

    auto expects = [&](int count, const char *usage) -> std::optional<Output> {
        if (given == count)
            return std::nullopt;
        return badArguments(QStringLiteral("usage: %1 %2").arg(CommandLine::programName(),
                                                               QLatin1String(usage)));
    };
    int profile = 0;
    if (command == QLatin1String("status")) {
        if (auto wrong = expects(0, "status [--json]"))
            return *wrong;
        const ScriptStatus status = operations.status();
        Output o;
        o.out = json ? QString::fromUtf8(statusJson(status)) : statusText(status);
        if (!status.mouseFound) {
            o.code = ScriptResult::NoMouse;
            o.err = QStringLiteral("No mouse is connected; this is what the profile file holds.\n");
        }
        return o;
    }
    if (command == QLatin1String("profile")) {
        if (auto wrong = expects(1, "profile N"))
            return *wrong;
        if (!profileNumber(args[1], profile))
            return badArguments(QStringLiteral("profile takes a profile number from 1 to %1")
                                    .arg(ScriptOperations::lastProfile));
        return told(operations.setProfile(profile));
    }
    if (command == QLatin1String("export") || command == QLatin1String("import")) {
        if (auto wrong = expects(2, command == QLatin1String("export") ? "export N FILE"
                                                                        : "import N FILE"))
            return *wrong;
        if (!profileNumber(args[1], profile))
            return badArguments(QStringLiteral("%1 takes a profile number from 1 to %2")
                                    .arg(command)
                                    .arg(ScriptOperations::lastProfile));
        return told(command == QLatin1String("export")
                        ? operations.exportProfile(profile, args[2])
                        : operations.importProfile(profile, args[2]));
    }
    if (command == QLatin1String("set")) {
        if (auto wrong = expects(2, "set rate|dpi|stage|effect|brightness VALUE [--profile N]"))
            return *wrong;
        ScriptOperations::Setting setting;
        if (!ScriptOperations::settingFromName(args[1], setting))
            return badArguments(QStringLiteral("set takes one of: %1")
                                    .arg(ScriptOperations::settingNames().join(QStringLiteral(", "))));
        if (profileOption &&
            (!profileNumber(parser.value(QStringLiteral("profile")), profile) || profile < 1))
            return badArguments(QStringLiteral("--profile takes a profile number from 1 to %1")
                                    .arg(ScriptOperations::lastProfile));
        return told(operations.setValue(setting, args[2], profile));
    }
    return badArguments(QStringLiteral("unknown command: ") + command);
}

QStringList absolutePaths(const QStringList &arguments) {
    QStringList out = arguments;
    const bool fileCommand = arguments.value(1) == QLatin1String("export") ||
                             arguments.value(1) == QLatin1String("import");
    if (fileCommand && arguments.size() > 3 && !arguments[3].isEmpty())
        out[3] = QFileInfo(arguments[3]).absoluteFilePath();
    return out;
}

QString statusText(const ScriptStatus &status) {
    QString text = status.mouseFound
                       ? QStringLiteral("Mouse: connected, firmware %1\n").arg(status.firmwareVersion)
                       : QStringLiteral("Mouse: not connected (values from the profile file)\n");
    text += QStringLiteral("Current profile: %1\n").arg(status.currentProfile);
    for (const ScriptProfileStatus &p : status.profiles) {
        QStringList stages;
        for (int i = 0; i < p.dpiStages.size(); ++i)
            stages.append(QString::number(p.dpiStages[i]) +
                          (i + 1 == p.currentStage ? QStringLiteral("*") : QString()));
        text += QStringLiteral("Profile %1: %2 Hz, DPI %3, effect %4 (%5), brightness %6\n")
                    .arg(p.number)
                    .arg(p.reportRateHz)
                    .arg(stages.join(QLatin1Char(' ')), p.effectName)
                    .arg(p.effect)
                    .arg(p.brightness);
    }
    return text;
}

QByteArray statusJson(const ScriptStatus &status) {
    QJsonArray profiles;
    for (const ScriptProfileStatus &p : status.profiles) {
        QJsonArray dpis;
        for (int d : p.dpiStages)
            dpis.append(d);
        profiles.append(QJsonObject{{QStringLiteral("profile"), p.number},
                                    {QStringLiteral("reportRateHz"), p.reportRateHz},
                                    {QStringLiteral("dpiStages"), dpis},
                                    {QStringLiteral("currentStage"), p.currentStage},
                                    {QStringLiteral("effect"), p.effect},
                                    {QStringLiteral("effectName"), p.effectName},
                                    {QStringLiteral("brightness"), p.brightness}});
    }
    const QJsonObject root{
        {QStringLiteral("format"), 1},
        {QStringLiteral("mouseFound"), status.mouseFound},
        {QStringLiteral("firmwareVersion"),
         status.mouseFound ? QJsonValue(status.firmwareVersion) : QJsonValue()},
        {QStringLiteral("currentProfile"), status.currentProfile},
        {QStringLiteral("profiles"), profiles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray encodeRequest(const QStringList &arguments) {
    return QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact);
}

std::optional<QStringList> decodeRequest(const QByteArray &bytes) {
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isArray())
        return std::nullopt;
    QStringList out;
    for (const QJsonValue &v : doc.array()) {
        if (!v.isString())
            return std::nullopt;
        out.append(v.toString());
    }
    return out;
}

QByteArray encodeReply(const Output &output) {
    return QJsonDocument(QJsonObject{{QStringLiteral("code"), output.code},
                                     {QStringLiteral("out"), output.out},
                                     {QStringLiteral("err"), output.err}})
        .toJson(QJsonDocument::Compact);
}

std::optional<Output> decodeReply(const QByteArray &bytes) {
    const QJsonObject o = QJsonDocument::fromJson(bytes).object();
    if (!o.value(QStringLiteral("code")).isDouble())
        return std::nullopt;
    return Output{o.value(QStringLiteral("code")).toInt(), o.value(QStringLiteral("out")).toString(),
                  o.value(QStringLiteral("err")).toString()};
}

namespace {
void print(const Output &o) {
    std::fputs(o.out.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    std::fputs(o.err.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

// The running copy carries the command out; its answer, or nothing when it gave none.
std::optional<Output> forward(const QStringList &arguments) {
    QLocalSocket socket;
    socket.connectToServer(CopyDataFrame::serverName(QCoreApplication::applicationFilePath()));
    if (!socket.waitForConnected(3000))
        return std::nullopt;
    socket.write(CopyDataFrame::encode(copyDataCommandTag, encodeRequest(arguments)));
    socket.flush();
    QByteArray reply;
    QElapsedTimer waited;
    waited.start();
    quint64 tag = 0;
    quint32 length = 0;
    while (waited.elapsed() < answerTimeoutMs) {
        reply += socket.readAll();
        if (reply.size() >= CopyDataFrame::headerSize) {
            CopyDataFrame::decodeHeader(reply.constData(), tag, length);
            if (tag != copyDataCommandTag || length > CopyDataFrame::maxLength)
                return std::nullopt;
            if (reply.size() >= CopyDataFrame::headerSize + qsizetype(length))
                return decodeReply(reply.mid(CopyDataFrame::headerSize, length));
        }
        if (socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0)
            return std::nullopt;
        socket.waitForReadyRead(200);
    }
    return std::nullopt;
}

// The window's own session with the mouse, without the window: the same files, the same look-up
// and the same classes, for the one command.
Output runHere(const QStringList &arguments) {
    QString programDirectory = QCoreApplication::applicationFilePath();
    programDirectory.truncate(programDirectory.lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(programDirectory);
    const DataPaths paths(programDirectory);
    if (!paths.seed())
        return {ScriptResult::Refused, QString(),
                QStringLiteral("cannot set up %1; nothing was changed.\n").arg(paths.dataDir())};
    DataPaths::setCurrent(paths);

    ApConfig config(paths.settingDir(), paths.factorySettingDir());
    ProfileStore store(paths.profileFile(), paths.profileDefaultsFile());
    MouseLink link(store);
    DeviceBridge bridge(store, link);
    MS_HT66FB560 device;
    link.setDevice(&device);
    QSettings *profile = store.profileSettings();
    const bool linked =
        linkDevice(device, config.productNames(), profile->value(QStringLiteral("Q7/vid")).toString(),
                   profile->value(QStringLiteral("Q7/pid")).toString(),
                   profile->value(QStringLiteral("common/sc")).toString());
    store.setDeviceLinked(linked);
    store.syncFromDevice();
    const ProfileRules rules(config);
    ScriptOperations operations(store, link, bridge, rules, {});
    const Output o = execute(operations, arguments);
    // Linked, the store records nothing on its own: what the mouse now holds goes to the
    // file here, as the window's refill would write it at its next start.
    store.saveAllProfiles();
    link.setDevice(nullptr);
    return o;
}
} // namespace

int run(const QStringList &given) {
    const QStringList arguments = absolutePaths(given);
    SingleInstance instance(QCoreApplication::applicationFilePath());
    Output o;
    if (!instance.failure().isEmpty()) {
        o = {ScriptResult::Refused, QString(),
             QStringLiteral("%1 cannot run: %2\n").arg(CommandLine::programName(), instance.failure())};
    } else if (instance.isRunning()) {
        const std::optional<Output> answer = forward(arguments);
        o = answer ? *answer
                   : Output{ScriptResult::Refused, QString(),
                            QStringLiteral("The running %1 did not answer.\n")
                                .arg(CommandLine::programName())};
    } else {
        o = runHere(arguments);
    }
    print(o);
    return o.code;
}

} // namespace ScriptCommand
