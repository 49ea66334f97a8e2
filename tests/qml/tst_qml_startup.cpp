// The real program under X: with the fast animation setting the opening completes and the
// bars, menus and logo end where they belong. (The close button's exit is every journey's end.)
// The program runs from a private copy of the build's bin folder, so its settings can be
// changed and its single-instance guard does not meet another copy's.
#include "IniFormat.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>

namespace {

bool accentish(QRgb c) { return qGreen(c) > 90 && qBlue(c) > 90 && qRed(c) < qGreen(c) / 2; }
bool textColoured(QRgb c) { return qGreen(c) > 170 && qBlue(c) > 170 && qRed(c) < 90; }

bool anyInRect(const QImage &image, const QRect &r, bool (*test)(QRgb)) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.rect().contains(x, y) && test(image.pixel(x, y)))
                return true;
    return false;
}

} // namespace

class tst_qml_startup : public QObject {
    Q_OBJECT

    Display *display = nullptr;

    // The program's window: the one viewable top-level window of the shell's size.
    QRect findWindow() {
        Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
        unsigned count = 0;
        QRect found;
        if (!XQueryTree(display, root, &root, &parent, &children, &count))
            return found;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable ||
                a.width != 1000 || a.height != 600)
                continue;
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
            found = QRect(x, y, a.width, a.height);
        }
        XFree(children);
        return found;
    }

private Q_SLOTS:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        display = XOpenDisplay(nullptr);
        QVERIFY(display);
    }

    void cleanupTestCase() {
        if (display)
            XCloseDisplay(display);
    }

    void openingEndsInPlace() {
        const QString bin = qEnvironmentVariable("Q7_BUILD_BIN");
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute("cp", {"-r", bin + "/modules", bin + "/q7config", dir.path()}),
                 0);
        {
            QSettings options(dir.filePath("modules/setting/apConfig.bin"), qt48IniFormat());
            QVERIFY(options.contains("common/3"));
            options.setValue("common/3", 1); // the fast opening
        }

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(dir.filePath("q7config"), {});
        QVERIFY(program.waitForStarted());

        QRect window;
        QTRY_VERIFY_WITH_TIMEOUT((window = findWindow()).isValid(), 15000);

        // Where each part ends, in window coordinates: an accent-coloured pixel, or menu text.
        const struct Part {
            const char *name;
            QRect at;
            bool (*test)(QRgb);
        } parts[] = {{"logo", {514, 12, 1, 1}, accentish},
                     {"top bar", {620, 35, 1, 1}, accentish},
                     {"bottom bar", {500, 552, 1, 1}, accentish},
                     {"profiles", {960, 107, 1, 1}, accentish},
                     {"functions", {50, 188, 40, 22}, textColoured}};
        QImage shot;
        QStringList missing;
        const bool inPlace = QTest::qWaitFor(
            [&] {
                shot = QGuiApplication::primaryScreen()
                           ->grabWindow(0, window.x(), window.y(), 1000, 600)
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
                missing.clear();
                for (const Part &part : parts)
                    if (shot.isNull() || !anyInRect(shot, part.at, part.test))
                        missing << part.name;
                return missing.isEmpty();
            },
            15000);
        const QString artifacts = qEnvironmentVariable("Q7_ARTIFACTS", QDir::tempPath());
        QDir().mkpath(artifacts);
        shot.save(artifacts + "/startup.png");
        QVERIFY2(inPlace, qPrintable(missing.join(", ") + " not in place; see " + artifacts +
                                     "/startup.png"));
        // The logo left its starting place, and the frame's corner shows the skin.
        QVERIFY(!accentish(shot.pixel(514, 278)));
        QVERIFY(accentish(shot.pixel(20, 8)));
        program.kill();
        program.waitForFinished(5000);
    }
};

QTEST_MAIN(tst_qml_startup)
#include "tst_qml_startup.moc"
