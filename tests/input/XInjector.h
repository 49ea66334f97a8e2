#pragma once

#include <memory>

// Drives the X server the way a user would, through XTest, and plays another X client with a
// focused window of its own. Kept apart from the test so Xlib's macros stay out of Qt code.
class XInjector {
public:
    // displayName nullptr: the one in DISPLAY.
    explicit XInjector(const char *displayName = nullptr);
    ~XInjector();
    bool isOpen() const;

    // Exact X keycode (evdev code + 8), and X button numbers.
    void key(unsigned keycode, bool press);
    void tap(unsigned keycode);
    // The keycode that types an X keysym on this server's keymap (0: none).
    unsigned keycodeFor(unsigned long keysym);
    void click(unsigned button);
    void button(unsigned button, bool press);
    void moveTo(int x, int y);
    // Waits until the server has handled everything sent so far.
    void sync();

    // The other client: a mapped window holding the input focus (on the injector's display).
    bool openFocusedWindow();
    // Gives the other client's window the input focus again.
    void focusOtherWindow();
    // Presses of keycode the other client's window received.
    int takeKeyPresses(unsigned keycode);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
