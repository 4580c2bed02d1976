// Process entry of korvane.exe.
#include <windows.h>

#include "run_application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunApplication(); }
