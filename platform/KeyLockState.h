#pragma once

// Whether the keyboard's Caps Lock, Num Lock and Scroll Lock are on: on
// Windows from GetKeyState, on X11 from the X server's keyboard indicators;
// all off where the window system does not tell (another platform, no
// display).
struct KeyLockState {
    bool Caps = false;
    bool Num = false;
    bool Scroll = false;

    bool operator==(const KeyLockState&) const = default;
};

// x11Display: the X11 Display the window program is connected to, or null;
// not used on Windows.
KeyLockState ReadKeyLockState(void* x11Display);
