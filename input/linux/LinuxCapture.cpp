#include "CaptureBackend.h"
#include "WindowCapture.h"
#ifdef Q7_HAVE_XI2
#include "X11Capture.h"
#endif

#include <QtDebug>

namespace {
// Prefers the whole X desktop; falls back to the program's own windows and says so once,
// since a recorder that only hears its own window surprises its user.
class LinuxCapture : public CaptureBackend {
public:
    bool install() override {
#ifdef Q7_HAVE_XI2
        if (x11.install()) {
            active = &x11;
            return true;
        }
#endif
        if (window.install()) {
            static bool told = false;
            if (!told) {
                told = true;
                qInfo("No X server to capture from: key and button capture is limited to the "
                      "program's window");
            }
            active = &window;
            return true;
        }
        return false;
    }
    void remove() override {
        if (active)
            active->remove();
        active = nullptr;
    }

private:
#ifdef Q7_HAVE_XI2
    X11Capture x11;
#endif
    WindowCapture window;
    CaptureBackend *active = nullptr;
};
} // namespace

std::unique_ptr<CaptureBackend> createPlatformCapture() { return std::make_unique<LinuxCapture>(); }
