#include "run_application.h"

#include <windows.h>

#include "main_window.h"

int RunApplication() {
  HWND window = CreateMainWindow();
  if (!window) return 0;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
