#include "KeyLockState.h"

#include <QGuiApplication>

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

KeyLockState ReadKeyLockState()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return {};
    }
    KeyLockState state;
    state.Caps = IndicatorOn(display, "Caps Lock");
    state.Num = IndicatorOn(display, "Num Lock");
    state.Scroll = IndicatorOn(display, "Scroll Lock");
    return state;
}
