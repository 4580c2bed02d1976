// The main window: interception runs while it exists; it shows the activity log.
#pragma once

#include <windows.h>

// Creates and shows the main window; 0 when it cannot be created.
HWND CreateMainWindow();
