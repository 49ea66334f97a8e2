#include "ApConfig.h"

#include "AtomicFile.h"
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

QVariant ApConfig::valueOrFactory(const QString &key, const QVariant &fallback) {
    if (m_settings->contains(key))
        return m_settings->value(key);
    // A damaged or cut file must not leave the pages with options of 0 (labels drawn in an
    // invisible colour, no DPI values): what the file lacks comes from the factory file.
    if (!m_factory)
        m_factory = std::make_unique<QSettings>(defaultsPath(), qt48IniFormat());
    return m_factory->value(key, fallback);
}

QVariantList ApConfig::loadApConfig() {
    QVariantList options;
    // The count is read again before every entry, as the page's writer may have changed
    // it; the ceiling guards against a damaged file.
    for (int i = 0;; ++i) {
        const int total =
            qMin(valueOrFactory(QStringLiteral("common/total"), 0).toInt(), maxOptions);
        if (i >= total)
            break;
        options.append(valueOrFactory(QStringLiteral("common/%1").arg(i), 0));
    }
    return options;
}

bool ApConfig::saveApConfig(const QVariantList &apConfigs) {
    m_settings->setValue(QStringLiteral("common/total"), int(apConfigs.size()));
    for (int i = 0; i < apConfigs.size(); ++i)
        m_settings->setValue(QStringLiteral("common/%1").arg(i), apConfigs.at(i));
    // Written now rather than from the event loop, so that a full disk or a folder that
    // cannot be written reaches the caller (the settings class replaces the file whole).
    return atomicfile::sync(m_settings);
}

bool ApConfig::resetApconfig() {
    const QString path = m_settings->fileName();
    // Close the old handle before the file is replaced, not later from the event loop:
    // its deferred write would otherwise land on the restored file, and a handle opened
    // on the same path while the old one lives shares its cached, pre-reset contents.
    m_settings.reset();
    const QFileInfo old(path);
    const qint64 oldSize = old.exists() ? old.size() : -1;
    const QDateTime oldTime = old.lastModified();
    // Copied over the old file in one step: a failed copy keeps the user's configuration.
    const bool restored = atomicfile::copy(defaultsPath(), path);
    // The settings class reuses its parsed copy of a file whose size and time look
    // unchanged; a same-sized factory file copied within the same millisecond as that
    // last write would be taken for the old one.
    const QFileInfo now(path);
    if (restored && now.size() == oldSize && now.lastModified() == oldTime) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(oldTime.addSecs(1), QFileDevice::FileModificationTime);
    }
    m_settings = std::make_unique<QSettings>(filePath(), qt48IniFormat());
    return restored;
}

QVariant ApConfig::productConstant(const QString &key) {
    return valueOrFactory(QStringLiteral("Q7/") + key, 0);
}

QStringList ApConfig::productNames() {
    return valueOrFactory(QStringLiteral("common/product_name"), QVariant()).toStringList();
}

int ApConfig::skin() {
    bool ok = false;
    const int skinNo = valueOrFactory(QStringLiteral("common/skin"), 1).toInt(&ok);
    return ok && skinNo >= 1 && skinNo <= skinCount ? skinNo : 1;
}

bool ApConfig::saveSkin(int skinNo) {
    if (skinNo < 1 || skinNo > skinCount)
        return false;
    m_settings->setValue(QStringLiteral("common/skin"), skinNo);
    return atomicfile::sync(m_settings);
}
