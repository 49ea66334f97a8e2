#include "DeviceChangeSource.h"

#if defined(Q7_HAVE_UDEV)
#include "linux/UdevDeviceChangeSource.h"
#endif

DeviceChangeSource *createDeviceChangeSource(QObject *parent) {
#if defined(Q7_HAVE_UDEV)
    return new UdevDeviceChangeSource(parent);
#else
    // Windows feeds the window's WM_DEVICECHANGE into a plain source (see Widget::nativeEvent).
    return new DeviceChangeSource(parent);
#endif
}
