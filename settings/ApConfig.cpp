#include "ApConfig.h"

#include "IniFormat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {
QString withSlash(QString dir) {
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}
} // namespace

ApConfig::ApConfig(QString settingDir, QString factoryDir)
    : m_dir(withSlash(std::move(settingDir))),
      m_factoryDir(factoryDir.isEmpty() ? m_dir : withSlash(std::move(factoryDir))),
      m_settings(std::make_unique<QSettings>(filePath(), qt48IniFormat())) {}

ApConfig::~ApConfig() = default;

QString ApConfig::filePath() const { return m_dir + QStringLiteral("apConfig.bin"); }
QString ApConfig::defaultsPath() const { return m_factoryDir + QStringLiteral("apConfigD.bin"); }

QVariantList ApConfig::loadApConfig() {
    QVariantList options;
    // The count is read again before every entry, as the page's writer may have changed
    // it; the ceiling guards against a damaged file.
    for (int i = 0;; ++i) {
        const int total =
            qMin(m_settings->value(QStringLiteral("common/total"), 0).toInt(), maxOptions);
        if (i >= total)
            break;
        options.append(m_settings->value(QStringLiteral("common/%1").arg(i), 0));
    }
    return options;
}

void ApConfig::saveApConfig(const QVariantList &apConfigs) {
    m_settings->setValue(QStringLiteral("common/total"), int(apConfigs.size()));
    for (int i = 0; i < apConfigs.size(); ++i)
        m_settings->setValue(QStringLiteral("common/%1").arg(i), apConfigs.at(i));
}

void ApConfig::resetApconfig() {
    const QString path = m_settings->fileName();
    // Close the old handle before the file is replaced, not later from the event loop:
    // its deferred write would otherwise land on the restored file, and a handle opened
    // on the same path while the old one lives shares its cached, pre-reset contents.
    m_settings.reset();
    const QFileInfo old(path);
    const qint64 oldSize = old.exists() ? old.size() : -1;
    const QDateTime oldTime = old.lastModified();
    QFile::remove(path);
    QFile::copy(defaultsPath(), path);
    // The settings class reuses its parsed copy of a file whose size and time look
    // unchanged; a same-sized factory file copied within the same millisecond as that
    // last write would be taken for the old one.
    const QFileInfo restored(path);
    if (restored.exists() && restored.size() == oldSize && restored.lastModified() == oldTime) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(oldTime.addSecs(1), QFileDevice::FileModificationTime);
    }
    m_settings = std::make_unique<QSettings>(filePath(), qt48IniFormat());
}

QVariant ApConfig::q7_getApConfig(const QString &key) {
    return m_settings->value(QStringLiteral("Q7/") + key, 0);
}

QStringList ApConfig::productNames() {
    return m_settings->value(QStringLiteral("common/product_name")).toStringList();
}
