// Under a compositing manager the window must show the desktop through every pixel the
// QML leaves transparent. The screenshot is kept as an artifact for a look by eye.
#include "IniFormat.h"
#include "StagedModules.h"
#include "Widget.h"
#include "XScreen.h"
#include "myQQuickView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QTest>
#include <QWidget>

class tst_app_translucency : public QObject {
    Q_OBJECT

    StagedModules modules;

    QProcess compositor;

private Q_SLOTS:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        {
            // The fast opening, so the picture comes to rest sooner.
            QSettings options(QStringLiteral("modules/setting/apConfig.bin"), qt48IniFormat());
            options.setValue(QStringLiteral("common/3"), 1);
        }
        compositor.start("xcompmgr", {});
        QVERIFY2(compositor.waitForStarted(), "xcompmgr is missing");
        const QByteArray display = qgetenv("DISPLAY");
        QVERIFY2(QTest::qWaitFor([&] { return compositorRunning(display.constData()); }, 20000),
                 "xcompmgr did not take the screen");
    }

    void cleanupTestCase() {
        compositor.terminate();
        compositor.waitForFinished();
    }

    void transparentPixelsShowTheDesktop() {
        const QColor desktopColor(0, 200, 0);
        QWidget desktop;
        desktop.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        desktop.setAutoFillBackground(true);
        QPalette pal;
        pal.setColor(QPalette::Window, desktopColor);
        desktop.setPalette(pal);
        desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
        desktop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop));

        Widget w;
        w.move(100, 80);
        w.showNormal();
        w.startUi();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY2(w.view()->rootObject(), "the QML shell did not load");
        // Drawn by the software renderer, as the program is unless told otherwise.
        QCOMPARE(w.view()->quickWindow()->rendererInterface()->graphicsApi(),
                 QSGRendererInterface::Software);
        QTRY_VERIFY(w.view()->rootObject()->property("visible").toBool());
        // Compare only a still picture: the opening animation must have ended, and the
        // compositor must show the same frame the view rendered.
        auto grabUi = [&] {
            return w.view()->grabFramebuffer().convertToFormat(QImage::Format_ARGB32);
        };
        QImage ui;
        QElapsedTimer waited;
        waited.start();
        for (QImage again = grabUi(); again != ui; again = grabUi()) {
            ui = again;
            QVERIFY2(waited.elapsed() < 30000, "the interface never came to rest");
            QTest::qWait(400);
        }
        const QRect frame = w.frameGeometry();
        // The compositor paints the view's last frame a moment after the view has it.
        QImage screen;
        int transparent = 0, wrong = 0;
        const bool shown = QTest::qWaitFor(
            [&] {
                screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                    QImage::Format_RGB32);
                transparent = wrong = 0;
                for (int y = 0; y < ui.height(); y += 3) {
                    for (int x = 0; x < ui.width(); x += 3) {
                        const QColor seen = screen.pixelColor(frame.topLeft() + QPoint(x, y));
                        transparent += qAlpha(ui.pixel(x, y)) == 0;
                        wrong += qAlpha(ui.pixel(x, y)) == 0 &&
                                 (qAbs(seen.green() - desktopColor.green()) > 8 || seen.red() > 8 ||
                                  seen.blue() > 8);
                    }
                }
                return transparent > 0 && wrong == 0;
            },
            10000);
        QCOMPARE(grabUi(), ui);

        const QString artifacts = qEnvironmentVariable("Q7_ARTIFACTS", QDir::tempPath());
        QDir().mkpath(artifacts);
        screen.save(artifacts + "/translucency.png");
        QVERIFY2(transparent > 0, "the interface leaves no pixel transparent");
        QVERIFY2(shown && wrong == 0, qPrintable(QString("%1 of %2 transparent pixels hide the desktop")
                                            .arg(wrong)
                                            .arg(transparent)));
    }
};

QTEST_MAIN(tst_app_translucency)
#include "tst_app_translucency.moc"
