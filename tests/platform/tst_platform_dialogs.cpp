// The real dialogs beside a window styled as the program's (frameless, translucent, a
// transparent style sheet): each must be a window of its own that a user can read, modal to
// that window, opening in a folder that is there.
#include "DataPaths.h"
#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
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

// How the text of `widget` stands out from what is behind it, as the dialog draws them: the
// most common colour of its rectangle is the background (it must be opaque), the colour that
// differs most from it the text.
double textContrast(QWidget *dialog, QWidget *widget, QString *why) {
    const QImage image = dialog->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect r = QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size()) &
                    image.rect().adjusted(0, 0, -1, -1);
    std::map<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (const auto &[colour, n] : counts)
        if (n > most)
            most = n, background = colour;
    if (qAlpha(background) < 255) {
        *why = QStringLiteral("see-through background behind ") + widget->objectName();
        return 0;
    }
    double best = 1;
    for (const auto &entry : counts)
        best = qMax(best, contrast(background, entry.first));
    *why = QStringLiteral("%1: contrast %2").arg(widget->objectName()).arg(best);
    return best;
}

// Runs `inspect` on the modal dialog once it is up; the dialog's answer ends the call.
void whenShown(const std::function<void(QWidget *)> &inspect) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QPointer<QDialog> open = qobject_cast<QDialog *>(dialog);
        inspect(dialog);
        // A failed check leaves the dialog up; the call under test must still return.
        if (open && open->isVisible() && QTest::currentTestFailed())
            open->reject();
    });
    poll->start(20);
}

} // namespace

class tst_platform_dialogs : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QWidget window;
    QtDialogs real;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(".config").toLocal8Bit());
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        window.setAttribute(Qt::WA_TranslucentBackground, true);
        window.setStyleSheet(QStringLiteral("background:transparent;"));
        window.setWindowTitle(QStringLiteral("Mouse"));
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // A folder that is not there (no Desktop in a fresh home) opens the documents folder, or
    // home without one, and its name is not offered as the file name.
    void missingFolderOpensWhereTheUserKeepsFiles() {
        for (bool withDocuments : {false, true}) {
            if (withDocuments)
                QVERIFY(QDir().mkpath(home.filePath("Documents")));
            const QString expected = withDocuments ? home.filePath("Documents") : home.path();
            QCOMPARE(QDir(DataPaths::exchangeFolder()).canonicalPath(),
                     QDir(expected).canonicalPath());
            QString folderShown, nameShown = QStringLiteral("(not shown)");
            whenShown([&](QWidget *shown) {
                auto *dialog = qobject_cast<QFileDialog *>(shown);
                folderShown = QDir(dialog->directory()).canonicalPath();
                nameShown = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
                dialog->reject();
            });
            QCOMPARE(real.openFileName(&window, QStringLiteral("Open File"),
                                       home.filePath("Desktop"), QStringLiteral("Macro(*.mc)")),
                     QString());
            QCOMPARE(folderShown, QDir(expected).canonicalPath());
            QCOMPARE(nameShown, QString());
        }
    }

    // Questions, confirm() and choose(): readable, modal to the window, titled (by the window
    // when they have no title of their own). Return and Escape give the safe answer, Cancel or
    // the first choice; only a click on the other button (OK, or the second) gives that one.
    // The choice's labels as the program words them are the offline journey's.
    void questionsAreReadableModalAndSafeByDefault_data() {
        QTest::addColumn<bool>("choice");
        QTest::addColumn<int>("key"); // 0: a click on the other button
        QTest::addColumn<bool>("answer");
        QTest::newRow("confirm Escape") << false << int(Qt::Key_Escape) << false;
        QTest::newRow("confirm Return") << false << int(Qt::Key_Return) << false;
        QTest::newRow("confirm OK") << false << 0 << true;
        QTest::newRow("choose Return") << true << int(Qt::Key_Return) << true;
        QTest::newRow("choose Escape") << true << int(Qt::Key_Escape) << true;
        QTest::newRow("choose second") << true << 0 << false;
    }
    void questionsAreReadableModalAndSafeByDefault() {
        QFETCH(bool, choice);
        QFETCH(int, key);
        QFETCH(bool, answer);
        QString title;
        whenShown([&](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            QVERIFY(box);
            title = box->windowTitle();
            QCOMPARE(box->windowHandle()->transientParent(), window.windowHandle());
            QString why;
            QLabel *text = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY2(text && textContrast(box, text, &why) >= 4.5, qPrintable(why));
            QAbstractButton *other = nullptr;
            for (QAbstractButton *b : box->buttons())
                if (b != box->defaultButton())
                    other = b;
            QVERIFY(other);
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                other->click();
        });
        const QString asked = choice ? QString() : QStringLiteral("Last left button");
        QCOMPARE(choice
                     ? real.choose(&window, asked, QStringLiteral("Changed without the mouse"),
                                   QStringLiteral("Send them"), QStringLiteral("Keep the mouse's"))
                     : real.confirm(&window, asked, QStringLiteral("Give it another function?")),
                 answer);
        QCOMPARE(title, choice ? QStringLiteral("Mouse") : asked);
    }

    // Box texts are often another program's (a message, a file or window name): markup in
    // them is shown as written, links are not followed, and the box up can take a newer text.
    // Before a language is loaded its title is empty; the box still has one.
    void boxTextIsPlainAndCanBeReplaced() {
        const QString markup = QStringLiteral("<img src='http://127.0.0.1:9/x.png'><a href='x'>b</a>");
        QStringList texts;
        whenShown([&](QWidget *shown) {
            auto *label = shown->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            real.updateWarning(markup + QStringLiteral(" again"));
            texts.append(label->text());
            texts.append(shown->windowTitle());
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->textInteractionFlags(), Qt::NoTextInteraction);
            QTest::keyClick(shown, Qt::Key_Return);
        });
        real.warning(&window, QString(), markup);
        QCOMPARE(texts, (QStringList{markup + QStringLiteral(" again"), "Mouse"}));
    }
};

QTEST_MAIN(tst_platform_dialogs)
#include "tst_platform_dialogs.moc"
