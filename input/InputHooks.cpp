#include "InputHooks.h"

#include "CopyDataReceiver.h"

#include <QCoreApplication>
#include <QPointer>

#include <array>

namespace {
struct HookState {
    InputHooks::KeyboardCallback keyCallback = nullptr;
    void *keyContext = nullptr;
    InputHooks::MouseCallback mouseCallback = nullptr;
    void *mouseContext = nullptr;
    InputHooks::CopyDataCallback copyDataCallback = nullptr;
    void *copyDataContext = nullptr;
    QPointer<QObject> copyDataReceiver;
    const InputHooks *owner = nullptr;
    // Last state reported per usage, since the capture was installed: a release whose press
    // went unreported (pressed before, or while no callback was set) stays silent.
    std::array<quint8, 256> keyState{};
    ScanToVkMap scanToVk;
    VkToUsageMap vkToUsage;
};

HookState &state() {
    static HookState s;
    return s;
}

struct MouseRow {
    quint8 code;
    quint8 pressed;
};

// Indexed by message − WM_LBUTTONDOWN. Double clicks carry code 0: the down/up pairs around
// them are reported already.
constexpr MouseRow mouseRows[] = {
    {MouseCode::Left, 1},   {MouseCode::Left, 0},   {0, 0},
    {MouseCode::Right, 1},  {MouseCode::Right, 0},  {0, 0},
    {MouseCode::Middle, 1}, {MouseCode::Middle, 0},
};
} // namespace

InputHooks::InputHooks(bool isoBackslash, CaptureFactory captureFactory)
    : isoBackslash(isoBackslash), factory(std::move(captureFactory)) {
    HookState &s = state();
    s.owner = this;
    buildScanToVk(s.scanToVk);
    buildVkToUsage(s.vkToUsage, s.owner->isoBackslash);
}

InputHooks::~InputHooks() {
    removeHooks();
    if (state().owner == this)
        state().owner = nullptr;
}

bool InputHooks::installHooks() {
    if (installed)
        removeHooks();
    if (!capture && factory)
        capture = factory();
    state().keyState.fill(0);
    installed = capture && capture->install();
    return installed;
}

void InputHooks::removeHooks() {
    if (capture)
        capture->remove();
    installed = false;
}

void InputHooks::setKeyboardCallback(KeyboardCallback callback, void *context) {
    state().keyCallback = callback;
    state().keyContext = context;
}

void InputHooks::setMouseCallback(MouseCallback callback, void *context) {
    state().mouseCallback = callback;
    state().mouseContext = context;
}

void InputHooks::setCopyDataCallback(CopyDataCallback callback, QCoreApplication *app,
                                     void *context) {
    HookState &s = state();
    s.copyDataCallback = callback;
    s.copyDataContext = context;
    if (app && !s.copyDataReceiver)
        s.copyDataReceiver = createCopyDataReceiver(app);
}

quint8 InputHooks::translate(quint32 scanCode, quint32 flags) {
    const HookState &s = state();
    const quint8 scan = scanCode > 0xFF ? 0 : static_cast<quint8>(scanCode);
    const bool extended = flags & HookMessage::Extended;

    quint8 vk = 0;
    if (const auto it = s.scanToVk.find(scanKey(scan, extended)); it != s.scanToVk.end())
        vk = it->second;
    // Ctrl+Pause arrives as E0 46 (Break) and Alt+Print Screen as 54 (SysRq).
    if (scan == 0x46 && extended)
        vk = Vk::Pause;
    else if (scan == 0x54 && (flags & HookMessage::AltDown))
        vk = Vk::Snapshot;
    if (vk == 0)
        return 0;
    const auto it = s.vkToUsage.find(vk);
    return it == s.vkToUsage.end() ? 0 : it->second;
}

void InputHooks::keyboardEvent(int code, quintptr message, quint32 scanCode, quint32 flags) {
    const quint8 isDown = code == HookMessage::Action &&
                          (message == HookMessage::KeyDown || message == HookMessage::SysKeyDown);
    const quint8 usage = translate(scanCode, flags);
    if (usage == 0)
        return;
    HookState &s = state();
    if (s.keyState[usage] == isDown)
        return;
    s.keyState[usage] = isDown;
    if (s.keyCallback)
        s.keyCallback(usage, isDown, s.keyContext);
}

void InputHooks::mouseEvent(quintptr message, int x, int y) {
    if (message < HookMessage::LButtonDown || message > HookMessage::MButtonUp)
        return;
    const MouseRow &row = mouseRows[message - HookMessage::LButtonDown];
    const HookState &s = state();
    if (row.code != 0 && s.mouseCallback)
        s.mouseCallback(row.code, row.pressed, x, y, s.mouseContext);
}

bool InputHooks::copyDataEvent(const CopyDataMessage &message) {
    const HookState &s = state();
    if (!s.copyDataCallback)
        return false;
    s.copyDataCallback(&message, s.copyDataContext);
    return true;
}

const ScanToVkMap &InputHooks::scanToVk() { return state().scanToVk; }

const VkToUsageMap &InputHooks::vkToUsage() { return state().vkToUsage; }
