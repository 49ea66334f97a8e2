// Windows of their own over the real program, as a user meets them on a desktop with a window
// manager: the export dialog opened from the profile menu's SAVE, readable, belonging to the
// program's window, in a folder that is there with the profile's name proposed, saving where a
// typed folder and name say (what the file holds is tst_store's to check); the question at a
// start with the mouse back after a change made while it was away; and warning messages sent
// to the running program in a burst, which give one box with the newest message and the count
// of the others while the program's memory stays flat.
#include "CopyData.h"
#include "CopyDataFrame.h"
#include "Journey.h"
#include "XScreen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

double luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// A text on the screen is readable when the colour of its glyphs stands out from its
// background (the most common colour of its rectangle) by at least 4.5:1, and enough pixels
// of that contrast are there to form letters.
bool readable(const QImage &picture, const QString &text, QString *why) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y) | 0xff000000u];
    if (counts.empty())
        return false;
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) {
                                return a.second < b.second;
                            })->first;
    double best = 1;
    int glyphPixels = 0;
    for (const auto &[colour, n] : counts) {
        const double c = contrast(background, colour);
        best = qMax(best, c);
        if (c >= 3)
            glyphPixels += n;
    }
    *why = QString::asprintf("\"%s\": contrast %.1f over background #%06x, %d glyph pixels",
                             qUtf8Printable(text), best, background & 0xffffffu, glyphPixels);
    return best >= 4.5 && glyphPixels >= 8;
}

// The file dialog's name field: its one wide text field.
QString nameFieldOf(const Journey::Dialog &d) {
    for (const Journey::DialogText &t : d.texts)
        if (t.kind == QLatin1String("field") && t.rect.width() > 200)
            return t.text;
    return QStringLiteral("(none)");
}

constexpr int current = 1; // the current profile of the factory mouse and file
constexpr std::uint8_t rate125Hz = 8;

// The profile file's mark of a change the mouse has not had, and its report rate byte.
QString dirtyMark(Journey &j) {
    return j.setting("p_Q7.bin", "other_fw/dirty").toStringList().value(current);
}
uint storedRate(Journey &j) {
    return j.setting("p_Q7.bin", "other_fw/1").toList().value(1).toUInt(); // profile 1's
}

qint64 residentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool send(const QString &server, const QByteArray &text) {
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(5000))
        return false;
    socket.write(CopyDataFrame::encode(copyDataWarningTag, text));
    socket.flush();
    while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(5000)) {
    }
    return socket.read(1) == QByteArray(1, CopyDataFrame::acceptedReply);
}

} // namespace

class tst_journey_dialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportDialogIsReadableAndSaves() {
        QTemporaryDir saved(QDir::tempPath() + QStringLiteral("/exported-XXXXXX"));
        QVERIFY(saved.isValid());
        Journey j(QStringLiteral("dialogs-export"));
        j.useWindowManager();
        JVERIFY(j.start());
        JVERIFY(j.rightClick("pfEntry2") && j.click("pfMenuItem1")); // SAVE
        const std::optional<Journey::Dialog> d = j.waitDialog(QStringLiteral("Save File"));
        JVERIFY(d);
        QVERIFY(d->modal && d->transient);
        // The window manager frames it (a title bar above its own window), in its own time
        // after the dialog is mapped; asked of the X server, since the toolkit may keep the
        // frame it saw before the window manager took the window.
        const QByteArray display = j.displayName().toLatin1();
        QRect client, frame;
        const bool framed = j.waitFor([&] {
            int c[4] = {}, f[4] = {};
            if (!windowAndFrame(display.constData(), "Save File", c, f))
                return false;
            client = QRect(c[0], c[1], c[2], c[3]);
            frame = QRect(f[0], f[1], f[2], f[3]);
            return frame.contains(client) && frame.top() < client.top();
        });
        QVERIFY2(framed, qPrintable(QString::asprintf("frame %d,%d client %d,%d", frame.top(),
                                                      frame.left(), client.top(), client.left())));
        // A fresh home has neither Desktop nor Documents: the dialog opens in home itself.
        QVERIFY2(QFileInfo(d->folder).isDir(), qPrintable(d->folder));
        QCOMPARE(QFileInfo(d->folder).fileName(), QStringLiteral("home"));
        QString why;
        int labels = 0;
        for (const Journey::DialogText &t : d->texts) {
            if (t.kind == QLatin1String("field") || t.rect.isEmpty())
                continue;
            labels += t.kind == QLatin1String("label");
            QVERIFY2(readable(j.grab(t.rect), t.text, &why), qPrintable(why));
        }
        QVERIFY2(labels >= 3, "the dialog shows fewer labels than the file dialog has");
        QCOMPARE(nameFieldOf(*d), QStringLiteral("P02.pf"));
        j.screenshot(QStringLiteral("dialog"), frame.united(j.windowRect()));

        // Into the folder first, then the name, as a user does who knows where it goes. Typing
        // a whole path passes through the folder's own name, which the dialog may leave
        // selected: its button then reads Open and Return opens that folder instead of saving.
        auto fieldShows = [&](const QString &text, const QString &button) {
            return j.waitFor([&] {
                const std::optional<Journey::Dialog> now = j.dialog();
                if (!now || now->popup || nameFieldOf(*now) != text)
                    return false;
                for (const Journey::DialogText &t : now->texts)
                    if (t.kind == QLatin1String("button") && t.text == button)
                        return true;
                return button.isEmpty();
            });
        };
        j.chord(XK_Control_L, 'a');
        j.type(saved.path() + QLatin1Char('/'));
        // Return opens a folder whatever the button reads.
        QVERIFY2(fieldShows(saved.path() + QLatin1Char('/'), QString()),
                 "the name field does not show the typed folder");
        j.key(XK_Return);
        QVERIFY2(j.waitFor([&] {
            const std::optional<Journey::Dialog> now = j.dialog();
            return now && QFileInfo(now->folder) == QFileInfo(saved.path());
        }),
                 "the dialog did not open the typed folder");
        // A name without its ending gets the profile file's.
        j.chord(XK_Control_L, 'a');
        j.type(QStringLiteral("mine"));
        QVERIFY2(fieldShows(QStringLiteral("mine"), QStringLiteral("&Save")),
                 "the name field does not show the typed name with Save beside it");
        j.key(XK_Return);
        const QString file = saved.filePath(QStringLiteral("mine.pf"));
        if (!j.waitFor([&] { return !j.dialog() && QFileInfo::exists(file); })) {
            const std::optional<Journey::Dialog> left = j.dialog();
            QFAIL(qPrintable(
                QStringLiteral("the dialog did not save mine.pf: %1")
                    .arg(left ? QStringLiteral("still up, name \"%1\"%2")
                                    .arg(nameFieldOf(*left), left->popup ? " under a list" : "")
                              : QStringLiteral("it is gone; ") + j.error())));
        }

        JVERIFY(j.stop());
    }

    // Answered by a click on Keep: the mouse's own rate stays and the page shows it again.
    // Send, the first choice, and what each answer leaves in the file and the mouse are
    // tst_offline_edits' and tst_platform_dialogs' to check.
    void changeWithoutTheMouseIsAskedAboutWhenItIsBack() {
        Journey j(QStringLiteral("offline-keep"));
        j.useWindowManager();
        const vmouse::State mouse = vmouse::factoryState();
        QVERIFY(mouse.reportRate[current] != rate125Hz);

        // Without the mouse: the change is kept and marked, and the user is told.
        qputenv("VIRTUAL_MOUSE_FAULTS", "absent");
        const bool started = j.start(mouse);
        qunsetenv("VIRTUAL_MOUSE_FAULTS");
        JVERIFY(started);
        JVERIFY(j.openPage(3, "sensorApply") && j.click("sensorRateButton0"));
        JVERIFY(j.click("sensorApply") && j.waitShown("sendNotice") && j.stop());
        QCOMPARE(dirtyMark(j), QStringLiteral("true"));
        QCOMPARE(storedRate(j), uint(rate125Hz));

        // The mouse is there at the next start: one question over the window.
        const int mark = j.trafficMark();
        JVERIFY(j.relaunch());
        const std::optional<Journey::Dialog> d = j.waitDialog(QStringLiteral("Q7 Gaming Mouse"));
        JVERIFY(d);
        QVERIFY(d->modal && d->transient);
        std::optional<QRect> keepButton;
        QStringList buttons;
        for (const Journey::DialogText &t : d->texts) {
            if (t.kind != QLatin1String("button"))
                continue;
            buttons.append(t.text);
            if (t.text.contains(QStringLiteral("Keep")))
                keepButton = t.rect;
        }
        QCOMPARE(buttons.size(), 2);
        QVERIFY2(keepButton, qPrintable(buttons.join(" / ")));
        j.screenshot(QStringLiteral("question"), d->frame.united(j.windowRect()));
        j.clickAt(keepButton->center() - j.windowRect().topLeft());
        QVERIFY2(j.waitFor([&] { return !j.dialog(); }), "the question stayed up");

        vmouse::State expected = mouse;
        expected.functionOption = 0x08; // the greeting of every start with the mouse there
        JVERIFY(j.waitMouse(expected));
        // The sensor page, opened now, shows the mouse's rate (125 Hz is its first choice,
        // 1000 Hz its last), and nothing but the start's own traffic set a rate.
        const int shown = 3 - qRound(std::log2(mouse.reportRate[current]));
        JVERIFY(j.openPage(3, "sensorApply"));
        JVERIFY(j.waitProperty("sensorRate", "currentIndex", QString::number(shown)));
        for (const QByteArray &c : j.commands(mark))
            QVERIFY2(c.size() < 2 || uchar(c[1]) != 0x03, c.toHex().constData());
        JVERIFY(j.stop());
        QCOMPARE(dirtyMark(j), QStringLiteral("false"));
        QCOMPARE(storedRate(j), uint(mouse.reportRate[current]));
    }

    // Last: it points this process's runtime folder at the program's.
    void floodGivesOneBox() {
        Journey j(QStringLiteral("messages"));
        j.useWindowManager();
        JVERIFY(j.start());
        const QString program = j.programDir() + QStringLiteral("/q7config");
        // The program's runtime folder is the journey's, beside its program folder.
        qputenv("XDG_RUNTIME_DIR",
                QFile::encodeName(QDir::cleanPath(j.programDir() + QStringLiteral("/../runtime"))));
        const QString server = CopyDataFrame::serverName(QFileInfo(program).canonicalFilePath());
        const qint64 before = residentKiB(j.programPid());
        QVERIFY(before > 0);

        const int frames = 2000;
        int accepted = 0;
        for (int i = 0; i < frames; ++i)
            accepted += send(server, QStringLiteral("<b>flood</b> %1").arg(i).toUtf8());
        QCOMPARE(accepted, frames);
        const QString expected =
            mergedWarningText(QStringLiteral("<b>flood</b> %1").arg(frames - 1), frames - 1);
        const auto boxShows = [&] {
            const std::optional<Journey::Dialog> d = j.dialog();
            return d && std::any_of(d->texts.begin(), d->texts.end(),
                                    [&](const auto &t) { return t.text == expected; });
        };
        QVERIFY2(j.waitFor(boxShows), "the box does not show the newest message and the count");
        const qint64 grown = residentKiB(j.programPid()) - before;
        qInfo("%d messages: the program's resident memory grew by %lld KiB", frames, grown);
        QVERIFY2(grown < 32 * 1024, qPrintable(QString::number(grown)));
        j.screenshot(QStringLiteral("flood"), j.dialog()->frame.united(j.windowRect()));

        // One Return closes the one box; no other was stacked beneath it.
        j.key(XK_Return);
        QVERIFY2(j.waitFor([&] { return !j.dialog(); }),
                 "a box is still up after the first closed");
        QVERIFY(j.settle());
        QVERIFY(!j.dialog());
        JVERIFY(j.stop());
    }
};

QTEST_GUILESS_MAIN(tst_journey_dialogs)
#include "tst_journey_dialogs.moc"
