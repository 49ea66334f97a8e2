// The real program under X: with the fast animation setting the opening completes and the
// bars, menus and logo end where they belong; the close button ends the program with code 0.
// The program runs from a private copy of the build's bin folder, so its settings can be
// changed and its single-instance guard does not meet another copy's.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

bool copyTree(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return false;
    }
    return true;
}

// Sets one entry of the stored option list, in the [common] group only.
bool setOption(const QString &file, int index, const QString &value) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    f.close();
    QString group;
    bool done = false;
    for (QString &line : lines) {
        if (line.startsWith('['))
            group = line.trimmed();
        else if (group == "[common]" && line.startsWith(QString::number(index) + '=')) {
            line = QString::number(index) + '=' + value;
            done = true;
        }
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(lines.join('\n').toUtf8());
    return done;
}

bool accentish(QRgb c) {
    return qGreen(c) > 90 && qBlue(c) > 90 && qRed(c) < qGreen(c) / 2;
}

bool anyInRect(const QImage &image, const QRect &r, bool (*test)(QRgb)) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.rect().contains(x, y) && test(image.pixel(x, y)))
                return true;
    return false;
}

bool textColoured(QRgb c) {
    return qGreen(c) > 170 && qBlue(c) > 170 && qRed(c) < 90;
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
            if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
                continue;
            if (a.width != 1000 || a.height != 600)
                continue;
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
            found = QRect(x, y, a.width, a.height);
        }
        XFree(children);
        return found;
    }

    void click(QPoint at) {
        // Like a hand: the pointer arrives, then presses and lets go.
        XTestFakeMotionEvent(display, -1, at.x(), at.y(), 0);
        XFlush(display);
        QTest::qWait(200);
        XTestFakeButtonEvent(display, 1, True, 0);
        XFlush(display);
        QTest::qWait(50);
        XTestFakeButtonEvent(display, 1, False, 0);
        XFlush(display);
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

    void openingEndsInPlaceAndCloseExitsWithZero() {
        const QString bin = qEnvironmentVariable("Q7_BUILD_BIN");
        QVERIFY(QFile::exists(bin + "/q7config"));
        QTemporaryDir dir;
        QVERIFY(copyTree(bin + "/modules", dir.path() + "/modules"));
        QVERIFY(QFile::copy(bin + "/q7config", dir.path() + "/q7config"));
        QVERIFY(setOption(dir.path() + "/modules/setting/apConfig.bin", 3, "1"));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Leak reports at exit are the shell tests' business; here only the exit code counts.
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(dir.path() + "/q7config", {});
        QVERIFY(program.waitForStarted());

        QRect window;
        QTRY_VERIFY_WITH_TIMEOUT((window = findWindow()).isValid(), 15000);

        // Checks taken from the screen, in window coordinates.
        QImage shot;
        auto grab = [&] {
            shot = QGuiApplication::primaryScreen()
                       ->grabWindow(0, window.x(), window.y(), 1000, 600)
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
            return !shot.isNull();
        };
        auto logoUp = [&] { return accentish(shot.pixel(514, 12)); };
        auto topBar = [&] { return accentish(shot.pixel(620, 35)); };
        auto bottomBar = [&] { return accentish(shot.pixel(500, 552)); };
        auto profiles = [&] { return accentish(shot.pixel(960, 107)); };
        auto functions = [&] { return anyInRect(shot, QRect(50, 188, 40, 22), textColoured); };
        const QString artifacts = qEnvironmentVariable("Q7_ARTIFACTS", QDir::tempPath());
        QDir().mkpath(artifacts);
        const bool inPlace = QTest::qWaitFor([&] {
            return grab() && logoUp() && topBar() && bottomBar() && profiles() && functions();
        }, 15000);
        shot.save(artifacts + "/startup.png");
        QVERIFY2(inPlace, qPrintable(QString("logo %1, top bar %2, bottom bar %3, profiles %4, "
                                             "functions %5; see %6/startup.png")
                                         .arg(logoUp()).arg(topBar()).arg(bottomBar())
                                         .arg(profiles()).arg(functions()).arg(artifacts)));
        // The logo left its starting place, and the frame's corner shows the skin.
        QVERIFY(!accentish(shot.pixel(514, 278)));
        QVERIFY(accentish(shot.pixel(20, 8)));

        click(window.topLeft() + QPoint(975, 19));
        QVERIFY(program.waitForFinished(15000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(tst_qml_startup)
#include "tst_qml_startup.moc"
