// The program a browser starts in the launch tests: lives a moment, then ends with 7, so a
// run to completion is told apart from a termination (exit code 0).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(1000);
  return 7;
}
