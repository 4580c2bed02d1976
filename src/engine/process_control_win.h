// The watcher's platform actions over ntdll's native process calls and psapi.
#pragma once

#include <windows.h>

#include "process_watcher.h"

// Rows of handled processes go to logView. The ntdll entry points are resolved at the first
// call that needs them and kept for the life of the program.
ProcessControl Win32ProcessControl(HWND logView);
