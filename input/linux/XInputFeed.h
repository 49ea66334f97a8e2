#pragma once

// Feeds one key or button event of the X/evdev world to the shared core in the Windows hook's
// terms. keycode is an X keycode (evdev code + 8); buttons are X buttons (1 left, 2 middle,
// 3 right; wheel steps and side buttons are not reported).
void feedXKey(unsigned keycode, bool press);
void feedXButton(unsigned button, bool press, int rootX, int rootY);
