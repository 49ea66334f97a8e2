// The real program as a native Wayland client of weston, nested in the journey's X server
// (Journey::useWeston()): every key and click reaches it through the compositor, which forwards
// the input XTest gives its X window.
#include "Journey.h"

#include <QFile>
#include <QLibraryInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace {

bool start(Journey &j, const vmouse::State &mouse = vmouse::factoryState()) {
    j.useWeston();
    return j.start(mouse);
}

// Onto the desktop beside the window, so that no cursor or hover shows in its pictures; the
// pointer stays on weston's output, which would lose the keys off it.
void moveToDesktop(Journey &j) {
    const QRect output(QPoint(0, 0), Journey::westonOutput), window = j.windowRect();
    QPoint to = output.center();
    for (const QPoint corner : {output.bottomRight(), output.topRight(), output.bottomLeft()})
        if (!QRect(corner, QSize(32, 32)).intersects(window))
            to = corner - QPoint(2, 2);
    j.moveTo(to - window.topLeft());
}

bool dialogField(Journey &j, const QString &text) {
    const std::optional<Journey::Dialog> d = j.dialog();
    return d && std::count_if(d->texts.cbegin(), d->texts.cend(), [&](const auto &t) {
                    return t.kind == QLatin1String("field") && t.text == text;
                }) == 1;
}

} // namespace

class tst_wayland_weston : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        for (const char *tool : {"weston", "weston-debug", "Xvfb"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh "
                                                "installs it)")
                                     .arg(QLatin1String(tool))));
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platforms/libqwayland-generic.so")))
            QSKIP("Qt's Wayland platform is not installed (qt6-wayland; scripts/install-deps.sh)");
    }

    // Started over a mouse on its third profile, the program reads it and shows it; a profile
    // chosen by a click through the compositor reaches the mouse, and so does one handed over
    // by a second start. The window is drawn with its colours, its translucent parts showing
    // the desktop through.
    void startsReadsTheMouseAndDraws() {
        Journey j(QStringLiteral("weston-start"));
        vmouse::State mouse = vmouse::factoryState();
        mouse.currentProfile = 3;
        JVERIFY(start(j, mouse));
        JVERIFY(j.waitProperty("pfItem", "currentIndex", "3"));
        JVERIFY(j.click("pfEntry2") && j.waitProfile(2));
        QCOMPARE(j.runProgram({QStringLiteral("--profile"), QStringLiteral("4")}), 0);
        JVERIFY(j.waitProfile(4) && j.waitProperty("pfItem", "currentIndex", "4"));

        moveToDesktop(j);
        const QImage shown = j.grab(j.windowRect());
        QVERIFY(!shown.isNull());
        // The skin's cyan (captions, frame lines, the current profile) among many colours.
        QSet<QRgb> colours;
        qint64 desktop = 0, cyan = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y);
                colours.insert(p);
                desktop += p == Journey::westonDesktop;
                cyan += qRed(p) < 90 && qGreen(p) > 170 && qBlue(p) > 200;
            }
        QVERIFY2(colours.size() > 200 && cyan > 500,
                 qPrintable(QStringLiteral("%1 colours, %2 cyan").arg(colours.size()).arg(cyan)));
        QVERIFY2(desktop > 0 && desktop < shown.width() * shown.height() / 4,
                 qPrintable(QString::number(desktop)));
        QVERIFY(!j.screenshot(QStringLiteral("window")).isEmpty());
    }

    // Keys typed into the Wayland window are recorded into the new macro's file.
    void macroRecordedFromKeysTheCompositorDelivers() {
        Journey j(QStringLiteral("weston-macro"));
        JVERIFY(start(j));
        const QString path = j.programDir() + QStringLiteral("/modules/macro/1/Macro. 001.bin");
        JVERIFY(j.click("fnEntry1") && j.click("macroAdd"));
        JVERIFY(j.waitFor([&] { return QFile::exists(path); }) || j.fail("no new macro file"));
        JVERIFY(j.click("macroRecord"));
        j.key('a');
        j.key('b');
        JVERIFY(j.click("macroStop"));
        const QStringList expected{"A    [Down]", "A      [Up]", "B    [Down]", "B      [Up]"};
        QStringList lines;
        const auto recorded = [&] {
            QSettings file(path, QSettings::IniFormat);
            lines.clear();
            for (int i = 0; i < file.value(QStringLiteral("config/total")).toInt(); ++i)
                lines << file.value(QStringLiteral("macro/%1").arg(i)).toString();
            return lines == expected;
        };
        QVERIFY2(j.waitFor(recorded), qPrintable(lines.join(QLatin1Char('|'))));
    }

    // The export dialog is a window of its own on weston, modal and tied to the program's
    // window; a name typed into it through the compositor saves the profile there.
    void exportDialogSavesThroughTheCompositor() {
        Journey j(QStringLiteral("weston-export"));
        JVERIFY(start(j));
        JVERIFY(j.rightClick("pfEntry2") && j.click("pfMenuItem1")); // SAVE
        QRect window;
        JVERIFY(j.waitFor([&] { return !(window = j.westonWindow("Save File")).isEmpty(); }) ||
                j.fail("weston shows no Save File window"));
        const std::optional<Journey::Dialog> d = j.dialog();
        QVERIFY(d && d->modal && d->transient);
        QVERIFY(dialogField(j, QStringLiteral("P02.pf")));
        QSet<QRgb> colours;
        const QImage shown = j.grab(window);
        for (int y = 0; y < shown.height(); y += 2)
            for (int x = 0; x < shown.width(); x += 2)
                colours.insert(shown.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the dialog is not drawn");
        j.type(QStringLiteral("weston"));
        JVERIFY(j.waitFor([&] { return dialogField(j, QStringLiteral("weston")); }) ||
                j.fail("the name field does not show weston"));
        j.key(XK_Return);
        const QString saved = j.homeDir() + QStringLiteral("/weston.pf");
        JVERIFY(j.waitFor([&] { return QFile::exists(saved); }) ||
                j.fail("nothing saved as " + saved));
        JVERIFY(j.waitFor([&] { return j.westonWindow("Save File").isEmpty(); }) ||
                j.fail("the dialog stays up"));
    }

    // A press on the window where no control is hands the drag to weston, which moves the
    // window with the pointer until the button is released.
    void dragMovesTheWindow() {
        Journey j(QStringLiteral("weston-drag"));
        JVERIFY(start(j));
        const QRect before = j.windowRect();
        // In the title bar, clear of the buttons and the logo; towards the output's middle.
        const QPoint press(300, 22);
        const QPoint by(before.x() > 100 ? -60 : 60, before.y() > 150 ? -45 : 45);
        j.moveTo(press);
        j.button(true);
        // The move starts when the program asks weston for it; every motion after that
        // places the window by the pointer's offset from the press.
        QRect now;
        const bool moved = j.waitFor([&] {
            j.moveTo(press + by + QPoint(1, 0));
            j.moveTo(press + by);
            now = j.westonWindow();
            return now.topLeft() == before.topLeft() + by;
        });
        // Whether the press reached the drag area and the program handed the drag to weston.
        const QString state =
            QStringLiteral(" (pressed %1, by weston %2)")
                .arg(j.property("dragArea", "pressed"), j.property("dragArea", "systemMove"));
        j.button(false);
        QVERIFY2(moved, qPrintable(QString::asprintf("from %d,%d to %d,%d", before.x(), before.y(),
                                                     now.x(), now.y()) +
                                   state));
        QCOMPARE(now.size(), before.size());
    }
};

QTEST_GUILESS_MAIN(tst_wayland_weston)
#include "tst_wayland_weston.moc"
