#include "KeyLockState.h"

// A system without X11: nothing tells the indicators.
KeyLockState ReadKeyLockState(void*) { return {}; }
