#include "KeyLockState.h"

#include <windows.h>

namespace {

// The low bit of GetKeyState is the toggle state of a lock key.
bool Toggled(int key) { return (::GetKeyState(key) & 1) != 0; }

}  // namespace

KeyLockState ReadKeyLockState(void*)
{
    KeyLockState state;
    state.Caps = Toggled(VK_CAPITAL);
    state.Num = Toggled(VK_NUMLOCK);
    state.Scroll = Toggled(VK_SCROLL);
    return state;
}
