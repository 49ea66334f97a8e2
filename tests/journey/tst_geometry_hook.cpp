// The journeys' test hook in the program: where it says items are is where the view draws them,
// and what it reads of them.
#include "TestGeometryHook.h"

#include <QFile>
#include <QLocalSocket>
#include <QQuickWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *const page = R"(
import QtQuick
Item {
    width: 400; height: 300
    Item {
        x: 20; y: 10; width: 200; height: 100; clip: true
        Rectangle { objectName: "partlyOut"; x: 150; y: 50; width: 100; height: 100; opacity: 0.5
            Rectangle { objectName: "inner"; width: 10; height: 10 } }
        Rectangle { objectName: "hidden"; visible: false; width: 10; height: 10 }
        Rectangle { objectName: "disabled"; enabled: false; width: 10; height: 10 }
    }
    Rectangle { objectName: "clippedAway"; x: 500; width: 10; height: 10 }
    Timer { objectName: "timer"; interval: 1234 }
    property string caption: "two\nlines"
    objectName: "root"
}
)";

} // namespace

class tst_geometry_hook : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // The hook answers from this thread's event loop, so the client must not block it.
    static QByteArray request(const QString &path, const QByteArray &line) {
        QLocalSocket socket;
        QByteArray answer;
        QObject::connect(&socket, &QLocalSocket::connected, [&] { socket.write(line + '\n'); });
        QObject::connect(&socket, &QLocalSocket::readyRead, [&] { answer += socket.readAll(); });
        socket.connectToServer(path);
        for (int i = 0; i < 200 && !answer.endsWith("end\n"); ++i)
            QTest::qWait(10);
        return answer;
    }

    void load(QQuickWidget &view) {
        const QString file = dir.filePath("page.qml");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(page) > 0);
        f.close();
        view.setResizeMode(QQuickWidget::SizeRootObjectToView);
        view.resize(400, 300);
        view.setSource(QUrl::fromLocalFile(file));
        QCOMPARE(view.status(), QQuickWidget::Ready);
    }

private Q_SLOTS:
    void reportsShownItemsInWindowCoordinatesClipped() {
        QWidget window;
        window.resize(500, 400);
        auto *view = new QQuickWidget(&window);
        view->move(30, 40);
        load(*view);
        window.show();
        const QString path = dir.filePath("items");
        TestGeometryHook hook(view, path);
        QVERIFY(hook.isListening());

        const QByteArray answer = request(path, "items");
        QVERIFY2(answer.endsWith("end\n"), answer.constData());
        const QList<QByteArray> lines = answer.split('\n');
        QCOMPARE(lines.value(0).left(7), QByteArray("window "));
        QVERIFY(lines.value(0).endsWith(" 500 400 1 0"));
        // The view sits at (30, 40) in the window, the clipping parent at (20, 10) in the
        // view, 200 wide: of the 100 x 100 child at (150, 50) only 50 x 50 is on screen.
        QVERIFY(lines.contains("item root 30 40 400 300 1.000 1"));
        QVERIFY(lines.contains("item partlyOut 200 100 50 50 0.500 1"));
        QVERIFY(lines.contains("item inner 200 100 10 10 0.500 1"));
        QVERIFY(lines.contains("item disabled 50 50 10 10 1.000 0"));
        QVERIFY(!answer.contains("hidden"));
        QVERIFY(!answer.contains("clippedAway"));

        // A disabled view still counts the releases the system hands the window.
        view->setEnabled(false);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(60, 60));
        QTest::keyClick(window.windowHandle(), Qt::Key_A);
        QVERIFY(request(path, "items").split('\n').value(0).endsWith(" 500 400 0 2"));
    }

    void readsPropertiesOfItemsAndOtherObjects() {
        QQuickWidget view;
        load(view);
        TestGeometryHook hook(&view, dir.filePath("unused"));
        QCOMPARE(hook.answer("property timer interval"), QByteArray("value 1234\nend\n"));
        QCOMPARE(hook.answer("property root caption"), QByteArray("value two\\nlines\nend\n"));
        QCOMPARE(hook.answer("property hidden visible"), QByteArray("value false\nend\n"));
        QCOMPARE(hook.answer("property nobody x"), QByteArray("none\nend\n"));
        QCOMPARE(hook.answer("property root"), QByteArray("end\n"));
        QCOMPARE(hook.answer("anything else"), QByteArray("end\n"));
    }
};

QTEST_MAIN(tst_geometry_hook)
#include "tst_geometry_hook.moc"
