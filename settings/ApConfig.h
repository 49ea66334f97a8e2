#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// The application configuration "apConfig.bin": window title, product names, the option
// list of the global settings page and the product constants the pages read. The view
// owns one instance, which keeps the configuration file open for the whole run.
class ApConfig {
public:
    // settingDir holds apConfig.bin; factoryDir its factory twin apConfigD.bin (empty: the
    // same folder).
    explicit ApConfig(QString settingDir = QStringLiteral("./modules/setting/"),
                      QString factoryDir = QString());
    ~ApConfig();
    ApConfig(const ApConfig &) = delete;
    ApConfig &operator=(const ApConfig &) = delete;

    // The option list "common/0" .. "common/<total - 1>", as texts. What the file lacks (it
    // may be cut or damaged) is read from the factory file, value by value, else as 0; the
    // file itself is only ever changed by a save or a reset.
    QVariantList loadApConfig();
    // Writes the count, then the entries; entries past the new count stay in the file.
    // False when the file could not be written; it then keeps its previous content.
    bool saveApConfig(const QVariantList &apConfigs);
    // Replaces the file by a copy of apConfigD.bin and reopens it; false (and the file as it
    // was) when the copy failed.
    bool resetApconfig();
    // The product constant "Q7/" + key, from the factory file when absent, else 0.
    QVariant productConstant(const QString &key);
    // "common/product_name": one name per entry of the device table.
    QStringList productNames();

    // The skin the user chose, "common/skin": a key of its own beside the option list, so an
    // earlier release, which reads and rewrites only the list, neither sees it nor loses it.
    // A file without it, or with a number no skin has, gives the first skin.
    int skin();
    // False for a number no skin has (nothing is written) and when the file could not be
    // written.
    bool saveSkin(int skinNo);
    static constexpr int skinCount = 2;
    // The open handle; a reference stays valid only until the next resetApconfig or failed
    // save.
    QSettings &settings() { return *m_settings; }
    QString filePath() const;
    QString defaultsPath() const;

    // Ceiling on "common/total": a damaged count must not make us build a huge list.
    static constexpr int maxOptions = 4096;

private:
    // The working file's value, else the factory file's, else fallback.
    QVariant valueOrFactory(const QString &key, const QVariant &fallback);

    QString m_dir;
    QString m_factoryDir;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QSettings> m_factory; // opened on the first value the working file lacks
};
