// Helpers for the tests that run in Wine's virtual desktop: message pumping with a time
// limit and the tray icon that makes Wine show its taskbar.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>

// Dispatches every message of the thread for `ms` milliseconds.
inline void PumpFor(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    auto left = static_cast<LONG>(end - GetTickCount());
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

// Dispatches messages until `done` holds or `ms` milliseconds have passed; gives `done`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return done();
    PumpFor(10);
  }
  return true;
}

// Wine shows its taskbar only while some tray icon exists.
struct TrayIcon {
  HWND owner = nullptr;

  TrayIcon() {
    owner = CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    NOTIFYICONDATAA data = Data();
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    lstrcpyA(data.szTip, "korvane test");
    Shell_NotifyIconA(NIM_ADD, &data);
    PumpUntil([] { return IsWindowVisible(FindWindowA("Shell_TrayWnd", nullptr)) != FALSE; },
              3000);
  }
  ~TrayIcon() {
    NOTIFYICONDATAA data = Data();
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindow(owner);
  }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

 private:
  NOTIFYICONDATAA Data() const {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 1;
    return data;
  }
};
