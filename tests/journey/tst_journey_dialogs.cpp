// The export dialog as a user meets it on a desktop: opened from the profile menu's SAVE
// under a window manager, readable, belonging to the program's window, in a folder that is
// there with the profile's name proposed; a typed path saves a profile file the program reads.
#include "Journey.h"
#include "XScreen.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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
    QRgb background = 0;
    int most = 0;
    for (const auto &[colour, n] : counts)
        if (n > most)
            most = n, background = colour;
    double best = 1;
    int glyphPixels = 0;
    for (const auto &[colour, n] : counts) {
        const double c = contrast(background, colour);
        best = qMax(best, c);
        if (c >= 3)
            glyphPixels += n;
    }
    *why = QStringLiteral("\"%1\": contrast %2 over background #%3, %4 glyph pixels")
               .arg(text)
               .arg(best, 0, 'f', 1)
               .arg(background & 0xffffff, 6, 16, QLatin1Char('0'))
               .arg(glyphPixels);
    return best >= 4.5 && glyphPixels >= 8;
}

// The file dialog's name field: its one wide text field.
QString nameFieldOf(const Journey::Dialog &d) {
    for (const Journey::DialogText &t : d.texts)
        if (t.kind == QLatin1String("field") && t.rect.width() > 200)
            return t.text;
    return QStringLiteral("(none)");
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
        QVERIFY2(j.start(), j.errorText());
        QVERIFY2(j.rightClick("pfEntry2"), j.errorText());
        QVERIFY2(j.click("pfMenuItem1"), j.errorText()); // SAVE

        const std::optional<Journey::Dialog> d = j.waitDialog(QStringLiteral("Save File"));
        QVERIFY2(d, j.errorText());
        QVERIFY(d->modal);
        QVERIFY(d->transient);
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
        QVERIFY2(framed, qPrintable(QStringLiteral("frame %1,%2 client %3,%4")
                                        .arg(frame.top())
                                        .arg(frame.left())
                                        .arg(client.top())
                                        .arg(client.left())));
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
        j.chord(Journey::ControlL, 'a');
        j.type(saved.path() + QLatin1Char('/'));
        // Return opens a folder whatever the button reads.
        QVERIFY2(fieldShows(saved.path() + QLatin1Char('/'), QString()),
                 "the name field does not show the typed folder");
        j.key(Journey::Return);
        QVERIFY2(j.waitFor([&] {
            const std::optional<Journey::Dialog> now = j.dialog();
            return now && QFileInfo(now->folder) == QFileInfo(saved.path());
        }),
                 "the dialog did not open the typed folder");
        // A name without its ending gets the profile file's.
        j.chord(Journey::ControlL, 'a');
        j.type(QStringLiteral("mine"));
        QVERIFY2(fieldShows(QStringLiteral("mine"), QStringLiteral("&Save")),
                 "the name field does not show the typed name with Save beside it");
        j.key(Journey::Return);
        const QString typed = saved.filePath(QStringLiteral("mine"));
        const QString file = typed + QStringLiteral(".pf");
        if (!j.waitFor([&] { return !j.dialog() && QFileInfo::exists(file); })) {
            const std::optional<Journey::Dialog> left = j.dialog();
            QFAIL(qPrintable(QStringLiteral("the dialog did not save mine.pf: %1")
                                 .arg(left ? QStringLiteral("still up, name \"%1\"%2")
                                                 .arg(nameFieldOf(*left),
                                                      left->popup ? " under a list" : "")
                                           : QStringLiteral("it is gone; ") + j.error())));
        }

        QSettings exported(file, QSettings::IniFormat);
        QSettings working(j.programDir() + QStringLiteral("/modules/setting/p_Q7.bin"),
                          QSettings::IniFormat);
        QCOMPARE(exported.status(), QSettings::NoError);
        QCOMPARE(exported.value("common/importProfile").toInt(), 2);
        for (const char *group : {"profile_fw", "matrix_fw", "other_fw"}) {
            const QString key = QString::fromLatin1(group) + QStringLiteral("/2");
            QCOMPARE(exported.value(key).toStringList().size(), 128);
            QCOMPARE(exported.value(key), working.value(key));
        }
        QVERIFY2(j.stop(), j.errorText());
    }
};

QTEST_GUILESS_MAIN(tst_journey_dialogs)
#include "tst_journey_dialogs.moc"
