#pragma once

#include "CaptureBackend.h"
#include "CopyData.h"
#include "KeyTables.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QCoreApplication;

// The Windows message and flag values every capture back end speaks, so that one translation
// path serves all platforms.
namespace HookMessage {
constexpr int Action = 0; // HC_ACTION
constexpr quintptr KeyDown = 0x0100;
constexpr quintptr KeyUp = 0x0101;
constexpr quintptr SysKeyDown = 0x0104;
constexpr quintptr SysKeyUp = 0x0105;
constexpr quintptr LButtonDown = 0x0201;
constexpr quintptr LButtonUp = 0x0202;
constexpr quintptr LButtonDblClk = 0x0203;
constexpr quintptr RButtonDown = 0x0204;
constexpr quintptr RButtonUp = 0x0205;
constexpr quintptr RButtonDblClk = 0x0206;
constexpr quintptr MButtonDown = 0x0207;
constexpr quintptr MButtonUp = 0x0208;
constexpr quintptr MouseWheel = 0x020A;
constexpr quintptr XButtonDown = 0x020B;
constexpr quintptr XButtonUp = 0x020C;
constexpr quint32 Extended = 0x01; // LLKHF_EXTENDED
constexpr quint32 AltDown = 0x20;  // LLKHF_ALTDOWN
} // namespace HookMessage

// Mouse codes as the key-name table knows them.
namespace MouseCode {
constexpr quint8 Left = 0xF0;
constexpr quint8 Right = 0xF1;
constexpr quint8 Middle = 0xF2;
} // namespace MouseCode

// Owner of the desktop-wide key and button capture. main() constructs it after the window and
// registers the window's three callbacks; the capture is installed only while something asks
// for input (CaptureDemand), and destroying the owner stops it.
//
// The translation state (tables, callbacks) is process-wide and lives for the whole run. The
// last reported key states start afresh with each installation: keys pressed or released while
// nobody listened are unknown, and a press must not be taken for a repeat of one reported
// before. Everything runs on the GUI thread.
class InputHooks {
public:
    using KeyboardCallback = void (*)(uchar usage, uchar isDown, void *context);
    using MouseCallback = void (*)(uchar code, uchar isDown, int x, int y, void *context);
    using CopyDataCallback = void (*)(const CopyDataMessage *data, void *context);
    using CaptureFactory = std::function<std::unique_ptr<CaptureBackend>()>;

    // Becomes the current owner and rebuilds both tables; nothing is captured until
    // installHooks(). The factory lets a test drive the core without a desktop; the program
    // uses the platform's.
    explicit InputHooks(bool isoBackslash, CaptureFactory captureFactory = createPlatformCapture);
    ~InputHooks();
    InputHooks(const InputHooks &) = delete;
    InputHooks &operator=(const InputHooks &) = delete;

    // (Re)installs the capture; false when none works here (the program carries on without).
    bool installHooks();
    void removeHooks();
    bool isInstalled() const { return installed; }

    static void setKeyboardCallback(KeyboardCallback callback, void *context);
    static void setMouseCallback(MouseCallback callback, void *context);
    // Also starts receiving messages for the running copy (a local socket on Linux, the
    // WM_COPYDATA filter on Windows) when app is given.
    static void setCopyDataCallback(CopyDataCallback callback, QCoreApplication *app,
                                    void *context);

    // The shared core, fed by every back end with the Windows hook's values. A keyboard event
    // is reported once per change of state: repeats and releases of keys whose press was never
    // reported are dropped. Mouse events report left, right and middle buttons only.
    static void keyboardEvent(int code, quintptr message, quint32 scanCode, quint32 flags);
    static void mouseEvent(quintptr message, int x, int y);
    // Hands a message to the copy-data callback; true when one was registered (message consumed).
    static bool copyDataEvent(const CopyDataMessage &message);

    // Usage ID for a hook event's scan code and flags, 0 when the key has none.
    static quint8 translate(quint32 scanCode, quint32 flags);
    static const ScanToVkMap &scanToVk();
    static const VkToUsageMap &vkToUsage();

    const bool isoBackslash;

private:
    CaptureFactory factory;
    std::unique_ptr<CaptureBackend> capture;
    bool installed = false;
};
