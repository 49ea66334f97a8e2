// Preloaded into the real program by the journeys and benches (LD_PRELOAD), never linked into
// it: what users run cannot be asked about its windows by whoever sets an environment variable.
#include "TestGeometryHook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QQuickWidget>

namespace {

// The socket the hook listens on; without it the hook stays out.
constexpr const char *socketVariable = "Q7_TEST_GEOMETRY";

// Waits for the program's view to be shown, puts the hook over it, and leaves.
class HookInstaller : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *view =
            event->type() == QEvent::Show ? qobject_cast<QQuickWidget *>(watched) : nullptr;
        if (view) {
            qApp->removeEventFilter(this);
            const QString path = qEnvironmentVariable(socketVariable);
            auto *hook = new TestGeometryHook(view, path);
            hook->setParent(view);
            if (!hook->isListening())
                qWarning("%s: cannot listen on %s", socketVariable, qPrintable(path));
            deleteLater();
        }
        return false;
    }
};

void installWhenAsked() {
    if (!qEnvironmentVariableIsEmpty(socketVariable))
        qApp->installEventFilter(new HookInstaller);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installWhenAsked)
