// Height of the taskbar's task band, the strip the alert comes to rest above.
#pragma once

#include "window_ops.h"

// The height of the first "MSTaskSwWClass" window below the first untitled "Shell_TrayWnd"
// top-level window (class names compared case-blind); the taskbar's own height when it has
// no such band; 0 when there is no taskbar and no band among the top-level windows.
int TaskBandHeight(const WindowOps& windows);
