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

    // The option list "common/0" .. "common/<total - 1>", as texts (absent entries as 0).
    QVariantList loadApConfig();
    // Writes the count, then the entries; entries past the new count stay in the file.
    void saveApConfig(const QVariantList &apConfigs);
    // Replaces the file by a copy of apConfigD.bin and reopens it.
    void resetApconfig();
    // The product constant "Q7/" + key, or 0 when absent.
    QVariant q7_getApConfig(const QString &key);
    // "common/product_name": one name per entry of the device table.
    QStringList productNames();
    // The open handle; a reference stays valid only until the next resetApconfig.
    QSettings &settings() { return *m_settings; }
    QString filePath() const;
    QString defaultsPath() const;

    // Ceiling on "common/total": a damaged count must not make us build a huge list.
    static constexpr int maxOptions = 4096;

private:
    QString m_dir;
    QString m_factoryDir;
    std::unique_ptr<QSettings> m_settings;
};
