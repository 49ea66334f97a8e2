// The GNOME back end against a real GSettings store (the keyfile back end in a scratch folder).
#include <gio/gio.h>

#include "GnomePointerSystem.h"
#include "IniFormat.h"
#include "ProfileStore.h"
#include "SystemMouseSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class GnomeTest : public QObject {
    Q_OBJECT
    QTemporaryDir config, dir;
    std::unique_ptr<QSettings> file;
    std::unique_ptr<ProfileStore> store;
    GSettings *desktop = nullptr;

    std::unique_ptr<SystemMouseSettings>
    make(const char *schema = GnomePointerSystem::defaultSchema) {
        return std::make_unique<SystemMouseSettings>(store.get(),
                                                     std::make_unique<GnomePointerSystem>(schema));
    }
    QByteArray accelProfile() {
        gchar *name = g_settings_get_string(desktop, "accel-profile");
        const QByteArray value(name);
        g_free(name);
        return value;
    }

private Q_SLOTS:
    void initTestCase() {
        // Before GLib picks its back end: keep the test's settings away from the user's.
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        GSettingsSchemaSource *source = g_settings_schema_source_get_default();
        GSettingsSchema *schema =
            source
                ? g_settings_schema_source_lookup(source, GnomePointerSystem::defaultSchema, TRUE)
                : nullptr;
        if (!schema)
            QSKIP("the GNOME desktop schemas are not installed");
        g_settings_schema_unref(schema);
        desktop = g_settings_new(GnomePointerSystem::defaultSchema);
        file = std::make_unique<QSettings>(dir.filePath("p_Q7.bin"), qt48IniFormat());
        store = std::make_unique<ProfileStore>(dir.filePath("p_Q7.bin"), dir.filePath("none.bin"));
        store->setCurProfile(1);
    }
    void cleanupTestCase() {
        if (desktop)
            g_object_unref(desktop);
    }

    void settingsReachTheDesktop() {
        auto s = make();
        const struct {
            uint position;
            double speed;
        } speeds[] = {{0, -1.0}, {1, -8 / 9.0}, {5, 0.0}, {6, 0.2}, {10, 1.0}};
        for (const auto &p : speeds) {
            s->setCursorSpeed(p.position);
            QCOMPARE(g_settings_get_double(desktop, "speed"), p.speed);
        }
        s->setDoubleClickSpeed(5);
        QCOMPARE(g_settings_get_int(desktop, "double-click"), 550);
        s->setAcceleration(false);
        QCOMPARE(accelProfile(), "flat");
        s->setAcceleration(true);
        QCOMPARE(accelProfile(), "adaptive");
        QVERIFY(!s->canChange(pointerSettings::ScrollLines) && s->canChange(pointerSettings::DoubleClick));
        QTest::ignoreMessage(QtDebugMsg,
                             "setVerticalScrollLines Failed"); // GNOME has no such setting
        s->setVerticalScrollLines(4);
        QCOMPARE(s->getVerticalScrollLines(), 4u);

        // Written through to the store other programs read.
        QFile keyfile(config.filePath("glib-2.0/settings/keyfile"));
        QVERIFY(keyfile.open(QIODevice::ReadOnly));
        const QByteArray stored = keyfile.readAll();
        QVERIFY(stored.contains("double-click=550") && stored.contains("accel-profile='adaptive'"));
    }

    void missingSchemaReportsFailuresAndStillStores() {
        QVERIFY(!GnomePointerSystem::available("org.q7config.no.such.schema"));
        auto s = make("org.q7config.no.such.schema");
        for (const char *m : {"setAcceleration Failed", "setCursorSpeed Failed",
                              "setVerticalScrollLines Failed", "setDoubleClickSpeed Failed"})
            QTest::ignoreMessage(QtDebugMsg, m);
        s->setAcceleration(false);
        s->setCursorSpeed(3);
        s->setVerticalScrollLines(1);
        s->setDoubleClickSpeed(8);
        QCOMPARE(file->value("profile_sw/1").toStringList(), (QStringList{"false", "3", "1", "8"}));
    }
};

QTEST_GUILESS_MAIN(GnomeTest)
#include "tst_system_gnome.moc"
