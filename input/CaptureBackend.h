#pragma once

#include <memory>

// One way of seeing the desktop's key and button events. A back end feeds what it sees to
// InputHooks::keyboardEvent / mouseEvent in the Windows hook's terms, so that every platform
// shares one translation path.
class CaptureBackend {
public:
    virtual ~CaptureBackend() = default;
    // Starts capturing; false when this back end cannot work here. May be called again after
    // remove().
    virtual bool install() = 0;
    // Stops capturing; harmless when not installed.
    virtual void remove() = 0;
};

// The platform's capture: the low-level hooks on Windows; on Linux XInput2 raw events, or the
// program's own window when there is no usable X server.
std::unique_ptr<CaptureBackend> createPlatformCapture();
