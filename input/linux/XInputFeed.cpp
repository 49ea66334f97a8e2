#include "XInputFeed.h"

#include "EvdevScanTable.h"
#include "InputHooks.h"

void feedXKey(unsigned keycode, bool press) {
    quint8 scan = 0;
    bool extended = false;
    if (keycode < 8 || !evdevToScan(keycode - 8, scan, extended))
        scan = 0; // no scan code: the core reports nothing, as for an injected key on Windows
    InputHooks::keyboardEvent(HookMessage::Action,
                              press ? HookMessage::KeyDown : HookMessage::KeyUp, scan,
                              extended ? HookMessage::Extended : 0);
}

void feedXButton(unsigned button, bool press, int rootX, int rootY) {
    quintptr message = 0;
    switch (button) {
    case 1:
        message = press ? HookMessage::LButtonDown : HookMessage::LButtonUp;
        break;
    case 2:
        message = press ? HookMessage::MButtonDown : HookMessage::MButtonUp;
        break;
    case 3:
        message = press ? HookMessage::RButtonDown : HookMessage::RButtonUp;
        break;
    default:
        return;
    }
    InputHooks::mouseEvent(message, rootX, rootY);
}
