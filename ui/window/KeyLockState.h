#pragma once

// Whether the keyboard's Caps Lock, Num Lock and Scroll Lock are on. Read
// from the X server's keyboard indicators; all off where the window system
// does not tell (another platform, no display).
struct KeyLockState {
    bool Caps = false;
    bool Num = false;
    bool Scroll = false;

    bool operator==(const KeyLockState&) const = default;
};

KeyLockState ReadKeyLockState();
