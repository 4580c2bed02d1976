// The main window: for now the activity log of handled processes.
#pragma once

#include <windows.h>

// Creates and shows the main window; 0 when it cannot be created.
HWND CreateMainWindow();
