#include "DataPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

const QString profileName = QStringLiteral("p_Q7.bin");
const QString profileDefaultsName = QStringLiteral("pD_Q7.bin");
const QString apConfigName = QStringLiteral("apConfig.bin");
const QString apConfigDefaultsName = QStringLiteral("apConfigD.bin");
const QString settingSub = QStringLiteral("setting/");
// The view's product variant is always 1.
const QString macroSub = QStringLiteral("macro/1/");

QString join(const QString &dir, const QString &name) {
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

bool writable(const QString &path) {
    const QFileInfo info(path);
    return !info.exists() || info.isWritable();
}

// A program folder is used for data only when every place the program writes can be
// written: a half-writable folder would lose some saves and keep others.
bool programFolderWritable(const QString &modules) {
    const QString setting = join(modules, settingSub);
    if (!QFileInfo(setting).isDir() || !QFileInfo(setting).isWritable())
        return false;
    if (!writable(join(setting, profileName)) || !writable(join(setting, apConfigName)))
        return false;
    // The library folder is made on first use when absent, which needs modules/ writable.
    const QString macros = join(modules, macroSub);
    return QFileInfo::exists(macros) ? QFileInfo(macros).isWritable()
                                     : QFileInfo(modules).isWritable();
}

bool copyIfAbsent(const QString &from, const QString &to) {
    if (QFileInfo::exists(to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    // The factory file may be read-only in the installed tree; the user's copy is theirs.
    return QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

std::optional<DataPaths> installed;

} // namespace

DataPaths::DataPaths(const QString &programDir, const QString &userDataDir)
    : m_programDir(programDir) {
    const QString modules = join(programDir, QStringLiteral("modules"));
    m_perUser =
        QFileInfo::exists(join(modules, installedMarker())) || !programFolderWritable(modules);
    if (!m_perUser) {
        m_dataDir = modules;
    } else if (!userDataDir.isEmpty()) {
        m_dataDir = userDataDir;
    } else {
        m_dataDir = join(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                         QStringLiteral("q7config"));
    }
}

DataPaths DataPaths::besideProgram(const QString &programDir) {
    DataPaths paths;
    paths.m_programDir = programDir;
    paths.m_dataDir = join(programDir, QStringLiteral("modules"));
    return paths;
}

QString DataPaths::settingDir() const { return join(m_dataDir, settingSub); }
QString DataPaths::factorySettingDir() const {
    return join(join(m_programDir, QStringLiteral("modules")), settingSub);
}
QString DataPaths::profileFile() const { return settingDir() + profileName; }
QString DataPaths::profileDefaultsFile() const { return factorySettingDir() + profileDefaultsName; }
QString DataPaths::apConfigFile() const { return settingDir() + apConfigName; }
QString DataPaths::applicationRulesFile() const {
    return settingDir() + QStringLiteral("application_rules.ini");
}
QString DataPaths::apConfigDefaultsFile() const {
    return factorySettingDir() + apConfigDefaultsName;
}
QString DataPaths::macroFolder() const { return join(m_dataDir, macroSub); }
QString DataPaths::languageFolder() const {
    return join(join(m_programDir, QStringLiteral("modules")), QStringLiteral("i18n/"));
}

QString DataPaths::exchangeFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

bool DataPaths::seed() const {
    if (!m_perUser) {
        // A copy of the program folder may have come readable by all: the working files name
        // the mouse's ids and hold the user's macros, and are the user's alone from now on.
        const QFileDevice::Permissions own = QFile::ReadOwner | QFile::WriteOwner;
        for (const QString &file : {profileFile(), apConfigFile(), applicationRulesFile()})
            if (QFileInfo(file).isFile() && !QFileInfo(file).isSymLink())
                QFile::setPermissions(file, own);
        const QDir macros(macroFolder());
        if (macros.exists()) {
            QFile::setPermissions(macros.path(), own | QFile::ExeOwner);
            for (const QFileInfo &f : macros.entryInfoList(QDir::Files | QDir::Hidden))
                if (!f.isSymLink())
                    QFile::setPermissions(f.filePath(), own);
        }
        return true;
    }
    QDir root;
    if (!root.mkpath(m_dataDir))
        return false;
    // The profile file names the mouse's ids and the user's macros: the user's alone.
    QFile::setPermissions(m_dataDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const bool macrosNew = !QFileInfo::exists(macroFolder());
    if (!root.mkpath(settingDir()) || !root.mkpath(macroFolder()))
        return false;
    bool ok = copyIfAbsent(factorySettingDir() + profileName, profileFile());
    ok = copyIfAbsent(factorySettingDir() + apConfigName, apConfigFile()) && ok;
    if (macrosNew) {
        const QDir factoryMacros(join(join(m_programDir, QStringLiteral("modules")), macroSub));
        for (const QString &name : factoryMacros.entryList({QStringLiteral("*.bin")}, QDir::Files))
            ok = copyIfAbsent(factoryMacros.filePath(name), macroFolder() + name) && ok;
    }
    return ok;
}

const DataPaths &DataPaths::current() {
    if (!installed)
        installed = besideProgram(QStringLiteral("."));
    return *installed;
}

void DataPaths::setCurrent(const DataPaths &paths) { installed = paths; }
