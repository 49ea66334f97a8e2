// The GNOME back end against a real GSettings store (the keyfile back end in a scratch folder).
#include <gio/gio.h>


#include "GnomePointerSystem.h"
#include "IniFormat.h"
#include "SystemMouseSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
bool schemaInstalled() {
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema =
        source ? g_settings_schema_source_lookup(source, GnomePointerSystem::defaultSchema, TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}
} // namespace

class GnomeTest : public QObject {
    Q_OBJECT
    QTemporaryDir config;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> file;
    GSettings *desktop = nullptr;
    int profile = 1;

    std::unique_ptr<SystemMouseSettings> make(const char *schema = GnomePointerSystem::defaultSchema) {
        return std::make_unique<SystemMouseSettings>(file.get(), [this] { return profile; },
                                                     std::make_unique<GnomePointerSystem>(schema));
    }

private Q_SLOTS:
    void initTestCase() {
        // Before GLib picks its back end: keep the test's settings away from the user's.
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        if (!schemaInstalled())
            QSKIP("the GNOME desktop schemas are not installed");
        desktop = g_settings_new(GnomePointerSystem::defaultSchema);
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
        file->setValue("profile_sw/1", QVariantList{true, 5u, 2u, 5u});
    }
    void cleanupTestCase() {
        if (desktop)
            g_object_unref(desktop);
    }

    void speedScale() {
        QCOMPARE(GnomePointerSystem::gnomeSpeed(1), -1.0);
        QCOMPARE(GnomePointerSystem::gnomeSpeed(10), 0.0);
        QCOMPARE(GnomePointerSystem::gnomeSpeed(20), 1.0);
        QVERIFY(GnomePointerSystem::gnomeSpeed(2) < GnomePointerSystem::gnomeSpeed(4));
        QVERIFY(GnomePointerSystem::gnomeSpeed(12) < GnomePointerSystem::gnomeSpeed(14));
    }

    void settingsReachTheDesktop() {
        auto s = make();
        s->setCursorSpeed(0);
        QCOMPARE(g_settings_get_double(desktop, "speed"), -1.0);
        QCOMPARE(s->getCursorSpeed(), 0u);
        s->setCursorSpeed(10);
        QCOMPARE(g_settings_get_double(desktop, "speed"), 1.0);
        s->setCursorSpeed(5);
        QCOMPARE(g_settings_get_double(desktop, "speed"), 0.0);
        s->setDoubleClickSpeed(5);
        QCOMPARE(g_settings_get_int(desktop, "double-click"), 550);
        s->setAcceleration(false);
        gchar *profileName = g_settings_get_string(desktop, "accel-profile");
        QCOMPARE(profileName, "flat");
        g_free(profileName);
        s->setAcceleration(true);
        profileName = g_settings_get_string(desktop, "accel-profile");
        QCOMPARE(profileName, "adaptive");
        g_free(profileName);
        // GNOME keeps no wheel-lines setting.
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        s->setVerticalScrollLines(4);
        QCOMPARE(s->getVerticalScrollLines(), 4u);

        // Written through to the store that other programs read.
        QFile keyfile(config.filePath("glib-2.0/settings/keyfile"));
        QVERIFY(keyfile.open(QIODevice::ReadOnly));
        const QByteArray stored = keyfile.readAll();
        QVERIFY(stored.contains("double-click=550"));
        QVERIFY(stored.contains("accel-profile='adaptive'"));
    }

    void missingSchemaReportsFailuresAndStillStores() {
        auto s = make("org.q7config.no.such.schema");
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        s->setAcceleration(false);
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        s->setCursorSpeed(3);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        s->setVerticalScrollLines(1);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        s->setDoubleClickSpeed(8);
        QCOMPARE(s->getAcceleration(), false);
        QCOMPARE(s->getCursorSpeed(), 3u);
        QCOMPARE(s->getVerticalScrollLines(), 1u);
        QCOMPARE(s->getDoubleClickSpeed(), 8u);
    }
};

QTEST_GUILESS_MAIN(GnomeTest)
#include "tst_system_gnome.moc"
