#include "main_window.h"

#include "log_view.h"
#include "resource_ids.h"

namespace {

constexpr char kMainWindowClass[] = "KorvaneMainWindow";
constexpr int kWindowWidth = 525;
constexpr int kWindowHeight = 396;
constexpr int kLogViewId = 1001;

HWND gLogView = nullptr;

void OnMainWindowCreated(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  gLogView = CreateLogView(window, 6, 6, client.right - 12, client.bottom - 12, kLogViewId);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SendMessageA(gLogView, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnMainWindowCreated(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateMainWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVANE));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_KORVANE), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);

  int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExA(0, kMainWindowClass, "Korvane",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                                kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (window) ShowWindow(window, SW_SHOW);
  return window;
}
