#include "CopyDataReceiver.h"
#include "InputHooks.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QObject>

#include <windows.h>

namespace {
// Turns WM_COPYDATA sent to any of the program's windows into a copy-data event.
class CopyDataFilter : public QObject, public QAbstractNativeEventFilter {
public:
    explicit CopyDataFilter(QCoreApplication *app) : QObject(app) {
        app->installNativeEventFilter(this);
    }
    ~CopyDataFilter() override {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_COPYDATA || !msg->lParam)
            return false;
        const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(msg->lParam);
        CopyDataMessage copy;
        copy.dwData = data->dwData;
        copy.cbData = data->cbData;
        copy.lpData = data->lpData;
        if (!InputHooks::copyDataEvent(copy))
            return false;
        if (result)
            *result = 1;
        return true;
    }
};
} // namespace

QObject *createCopyDataReceiver(QCoreApplication *app) { return new CopyDataFilter(app); }
