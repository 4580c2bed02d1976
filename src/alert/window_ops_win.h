// The Win32 instances of the window and timer operations.
#pragma once

#include "window_ops.h"

// Both live from their first use to the end of the process; GUI thread only. The
// enumerations are not reentrant: none may be started from inside another.
const WindowOps& SystemWindowOps();
const TimerOps& SystemTimerOps();
