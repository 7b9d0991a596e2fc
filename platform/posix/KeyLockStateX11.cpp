#include "KeyLockState.h"

#include <X11/XKBlib.h>

namespace {

bool IndicatorOn(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None) {
        return false;
    }
    Bool on = False;
    return XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
}

}  // namespace

KeyLockState ReadKeyLockState(void* x11Display)
{
    auto* display = static_cast<Display*>(x11Display);
    if (display == nullptr) {
        return {};
    }
    KeyLockState state;
    state.Caps = IndicatorOn(display, "Caps Lock");
    state.Num = IndicatorOn(display, "Num Lock");
    state.Scroll = IndicatorOn(display, "Scroll Lock");
    return state;
}
