#pragma once

#include <QString>

// Where the program's files live. The factory files (defaults, languages, skins) are always
// read from modules/ in the program folder. The files the program writes (the profile
// settings file, the application configuration and the macro library) live there too when
// the user can write that folder, so a build tree or a portable copy keeps everything in
// one place. An installed copy (the folder cannot be written, or the install step marked it
// as installed) keeps them per user under $XDG_DATA_HOME/q7config/ instead, seeded once from
// the factory files, which are then never written.
//
// Every data path of the program comes from here.
class DataPaths {
public:
    // Name of the marker file the install step puts into modules/: its presence alone makes
    // the copy keep its data per user, even for an administrator who could write the folder.
    static QString installedMarker() { return QStringLiteral("installed"); }

    // programDir: the program's own folder. userDataDir: where per-user data would go; empty
    // means $XDG_DATA_HOME/q7config (default ~/.local/share/q7config).
    explicit DataPaths(const QString &programDir, const QString &userDataDir = QString());

    // Paths beside the program whatever the folder allows (what code run without main()
    // uses: tests, tools).
    static DataPaths besideProgram(const QString &programDir);

    bool perUser() const { return m_perUser; }
    QString programDir() const { return m_programDir; }
    // The folder that holds setting/ and macro/ for the files the program writes.
    QString dataDir() const { return m_dataDir; }

    QString settingDir() const;        // with a trailing slash
    QString factorySettingDir() const; // with a trailing slash
    QString profileFile() const;
    QString profileDefaultsFile() const;
    QString apConfigFile() const;
    QString apConfigDefaultsFile() const;
    // The rules that pick a profile for the active application (written only by the user).
    QString applicationRulesFile() const;
    QString macroFolder() const; // with a trailing slash
    QString languageFolder() const;

    // Where export and import dialogs open: the user's documents folder when it exists,
    // else the home folder (never a folder that is not there).
    static QString exchangeFolder();

    // Puts the working files in place for a per-user copy: creates the folders (private to
    // the user) and copies each working file, and the factory macros, that is not there yet.
    // Existing files are never replaced. True when every working file is in place. A copy
    // that keeps its data beside the program only has its working files made the user's alone.
    bool seed() const;

    // The paths of this run. Until main() installs its own they are those of the current
    // directory, beside the program, as the program folder is the current directory while
    // the program runs.
    static const DataPaths &current();
    static void setCurrent(const DataPaths &paths);

private:
    DataPaths() = default;

    QString m_programDir;
    QString m_dataDir;
    bool m_perUser = false;
};
