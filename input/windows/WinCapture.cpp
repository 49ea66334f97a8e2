#include "CaptureBackend.h"
#include "InputHooks.h"

#include <windows.h>

namespace {
HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;

// Called by the system on the installing (GUI) thread inside its message loop, with a time
// limit: the core only does table look-ups before the event is passed on, never swallowed.
LRESULT CALLBACK keyboardHookProc(int code, WPARAM message, LPARAM lParam) {
    // Below HC_ACTION the event must be passed on untouched.
    if (code >= 0) {
        const auto *event = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        InputHooks::keyboardEvent(code, message, event->scanCode, event->flags);
    }
    return CallNextHookEx(keyboardHook, code, message, lParam);
}

LRESULT CALLBACK mouseHookProc(int code, WPARAM message, LPARAM lParam) {
    if (code >= 0) {
        const auto *event = reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        InputHooks::mouseEvent(message, event->pt.x, event->pt.y);
    }
    return CallNextHookEx(mouseHook, code, message, lParam);
}

class WinHooks : public CaptureBackend {
public:
    bool install() override {
        remove();
        const HMODULE module = GetModuleHandleW(nullptr);
        keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHookProc, module, 0);
        mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseHookProc, module, 0);
        if (keyboardHook && mouseHook)
            return true;
        // Half a capture would record keys without clicks (or the reverse); drop both.
        remove();
        return false;
    }
    void remove() override {
        if (keyboardHook)
            UnhookWindowsHookEx(keyboardHook);
        if (mouseHook)
            UnhookWindowsHookEx(mouseHook);
        keyboardHook = nullptr;
        mouseHook = nullptr;
    }
    ~WinHooks() override { remove(); }
};
} // namespace

std::unique_ptr<CaptureBackend> createPlatformCapture() { return std::make_unique<WinHooks>(); }
