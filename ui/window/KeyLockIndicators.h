#pragma once

#include "KeyLockState.h"

// The lock keys' state for the application's window system (its X11
// display where it has one).
KeyLockState ReadApplicationKeyLockState();
