#include "ActiveWindowSource.h"

#ifdef Q7_HAVE_XCB
#include "linux/X11ActiveWindowSource.h"
#endif

std::unique_ptr<ActiveWindowSource> ActiveWindowSource::create(QObject *parent) {
#ifdef Q7_HAVE_XCB
    if (!qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariable("Q7_ACTIVE_WINDOW_SOURCE") != QLatin1String("none")) {
        auto x11 = std::make_unique<X11ActiveWindowSource>(parent);
        if (x11->start())
            return x11;
    }
#endif
    return std::make_unique<NoActiveWindowSource>(parent);
}
