// Under a compositing manager the window must show the desktop through every pixel the
// QML leaves transparent. The screenshot is kept as an artifact for a look by eye.
#include "Widget.h"
#include "StagedModules.h"
#include "myQQuickView.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QQuickItem>
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
        compositor.start("xcompmgr", {});
        QVERIFY2(compositor.waitForStarted(), "xcompmgr is missing");
        QTest::qWait(500);
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
        QTRY_VERIFY(w.view()->rootObject()->property("visible").toBool());
        QTest::qWait(1500); // let the opening animation and the compositor settle

        const QImage ui = w.view()->grabFramebuffer().convertToFormat(QImage::Format_ARGB32);
        const QRect frame = w.frameGeometry();
        const QImage screen =
            QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);

        const QString artifacts = qEnvironmentVariable("Q7_ARTIFACTS", QDir::tempPath());
        QDir().mkpath(artifacts);
        screen.save(artifacts + "/translucency.png");

        int transparent = 0, wrong = 0;
        for (int y = 0; y < ui.height(); y += 3) {
            for (int x = 0; x < ui.width(); x += 3) {
                if (qAlpha(ui.pixel(x, y)) != 0)
                    continue;
                ++transparent;
                const QColor seen = screen.pixelColor(frame.topLeft() + QPoint(x, y));
                if (qAbs(seen.green() - desktopColor.green()) > 8 || seen.red() > 8 || seen.blue() > 8)
                    ++wrong;
            }
        }
        QVERIFY2(transparent > 0, "the interface leaves no pixel transparent");
        QVERIFY2(wrong == 0, qPrintable(QString("%1 of %2 transparent pixels hide the desktop")
                                             .arg(wrong).arg(transparent)));
    }
};

QTEST_MAIN(tst_app_translucency)
#include "tst_app_translucency.moc"
