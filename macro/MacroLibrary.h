#pragma once

#include "MacroEncoder.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>

class MouseLink;
class QWidget;

// The macro library: one INI file per macro in the library folder ("./modules/macro/1/"
// beside the program), its event lines, play count and device slot; and the upload of a
// macro into a slot of the mouse. It keeps no state of its own: every call works on the
// files and releases them before it returns.
//
// A macro name is a file name. A name that could reach a file outside the library folder
// (empty, ".", "..", or holding '/', '\\' or NUL) is treated as a macro that does not exist.
class MacroLibrary {
public:
    static QString defaultFolder() { return QStringLiteral("./modules/macro/1/"); }

    // link may be null: nothing is uploaded then. dialogParent parents the file dialogs.
    MacroLibrary(MouseLink *link, QMap<QString, unsigned char> keyNameTable,
                 QString folder = defaultFolder(), QWidget *dialogParent = nullptr);

    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }
    // The current language's message strings, for the boxes that say why an import failed.
    void setMessages(std::function<QStringList()> messages) { m_messages = std::move(messages); }
    const QMap<QString, unsigned char> &keyNameTable() const { return m_keyNames; }

    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);
    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);

    QList<unsigned char> macroIncode(QStringList macros);
    // Uploads a macro into a slot of the mouse; true when the mouse took the block. The link
    // counts the result, also of the uploads a save starts by itself.
    bool uploadToSlot(QVariant macroId, QVariant name);

    // The file of a macro, or an empty string for a name that is refused.
    QString filePath(const QString &name) const;
    static bool isSafeName(const QString &name);

    // More lines than a file can sensibly hold are not read: a damaged "config/total"
    // must not exhaust memory.
    static constexpr int maxLines = 100000;

private:
    // The file of an existing macro, or an empty string.
    QString existingFile(const QVariant &name) const;

    MouseLink *m_link;
    QMap<QString, unsigned char> m_keyNames;
    QString m_folder;
    QWidget *m_dialogParent;
    std::function<QStringList()> m_messages;
};
