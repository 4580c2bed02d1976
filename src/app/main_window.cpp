#include "main_window.h"

#include "app_state.h"
#include "launch_decision.h"
#include "log_view.h"
#include "process_control_win.h"
#include "resource_ids.h"
#include "run_directory.h"
#include "whitelist_file_win.h"

namespace {

constexpr char kMainWindowClass[] = "KorvaneMainWindow";
constexpr int kWindowWidth = 525;
constexpr int kWindowHeight = 396;
constexpr int kLogViewId = 1001;
constexpr UINT_PTR kPollTimerId = 1000;

void StartInterception(HWND window) {
  // 1 ms: the system raises it to its shortest timer period.
  SetTimer(window, kPollTimerId, 1, nullptr);
}

void OnPollTimer() {
  AppState& app = App();
  WatchProcesses(app.watcher, app.processControl, [&app](int processId, const std::string& path) {
    return DecideLaunch(processId, path,
                        {app.CurrentWorkMode, app.whitelist, app.watcher.CurrentVersionFields});
  });
}

void OnMainWindowCreated(HWND window) {
  AppState& app = App();
  app.mainWindow = window;
  RECT client;
  GetClientRect(window, &client);
  app.logView = CreateLogView(window, 6, 6, client.right - 12, client.bottom - 12, kLogViewId);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SendMessageA(app.logView, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  app.processControl = Win32ProcessControl(app.logView);
  LoadWhitelist(RunDirectory(), app.whitelist);
  StartInterception(window);
}

void OnMainWindowCloseRequested() { SaveWhitelist(RunDirectory(), App().whitelist); }

void OnMainWindowDestroying(HWND window) {
  KillTimer(window, kPollTimerId);
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnMainWindowCreated(window);
      return 0;
    case WM_TIMER:
      if (wParam == kPollTimerId) OnPollTimer();
      return 0;
    case WM_CLOSE:
      OnMainWindowCloseRequested();
      break;  // the close always goes on
    case WM_DESTROY:
      OnMainWindowDestroying(window);
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
