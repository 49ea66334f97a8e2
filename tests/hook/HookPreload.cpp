// Preloaded into the real program by the journeys and benches (LD_PRELOAD), never linked into
// it: what users run cannot be asked about its windows by whoever sets an environment variable.
#include "TestGeometryHook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QQuickWidget>

namespace {

// Waits for the program's view to be shown, puts the hook over it, and leaves.
class HookInstaller : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show)
            if (auto *view = qobject_cast<QQuickWidget *>(watched)) {
                qApp->removeEventFilter(this);
                TestGeometryHook::installFromEnvironment(view);
                deleteLater();
            }
        return false;
    }
};

void installWhenAsked() {
    if (!qEnvironmentVariableIsEmpty(TestGeometryHook::environmentName))
        qApp->installEventFilter(new HookInstaller);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installWhenAsked)
