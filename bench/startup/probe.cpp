// One cold start: builds either the program's window (as main() does) or a bare
// QQuickWidget, and reports on stdout when the first frame has been rendered.
#include "Widget.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>

#include <cstdio>

static long rssKb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

static QString rendererName(QQuickWindow *w) {
    const auto api = w->rendererInterface()->graphicsApi();
    if (api == QSGRendererInterface::Software)
        return "software";
    if (auto *ctx = QOpenGLContext::currentContext())
        return QString("opengl:%1")
            .arg(reinterpret_cast<const char *>(ctx->functions()->glGetString(GL_RENDERER)));
    return QString("api-%1").arg(int(api));
}

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const bool bare = app.arguments().contains("--bare");
    const bool stay = app.arguments().contains("--stay");
    if (!bare) {
        QString dir = QCoreApplication::applicationFilePath();
        dir.truncate(dir.lastIndexOf('/'));
        QDir::setCurrent(dir);
    }

    QQuickWidget *view = nullptr;
    QWidget *top = nullptr;
    if (bare) {
        auto *w = new QQuickWidget;
        w->setResizeMode(QQuickWidget::SizeViewToRootObject);
        w->setSource(QUrl("qrc:/bench/bare.qml"));
        view = w;
        top = w;
    } else {
        auto *w = new Widget;
        w->checkDevice();
        view = w->view();
        top = w;
    }

    bool reported = false;
    QObject::connect(
        view->quickWindow(), &QQuickWindow::afterRendering, view,
        [&] {
            // --stay keeps the window up (bench_peers reads its memory later).
            if (reported || stay)
                return;
            reported = true;
            const QString renderer = rendererName(view->quickWindow());
            // Leave the render pass before reporting and quitting.
            QTimer::singleShot(0, [renderer] {
                std::printf("frame rss_kb=%ld renderer=%s\n", rssKb(), qPrintable(renderer));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        },
        Qt::DirectConnection);

    top->showNormal();
    if (auto *w = qobject_cast<Widget *>(top))
        w->startUi();
    const int rc = app.exec();
    delete top;
    return rc;
}
