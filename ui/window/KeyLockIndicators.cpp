#include "KeyLockIndicators.h"

#include <QGuiApplication>

KeyLockState ReadApplicationKeyLockState()
{
    void* display = nullptr;
#if QT_CONFIG(xcb)
    if (const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        display = x11->display();
    }
#endif
    return ReadKeyLockState(display);
}
