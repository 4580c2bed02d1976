#include "window_ops_win.h"

#include <windows.h>

#include <map>

namespace {

// The enumeration callbacks get no context of their own; these collectors are it.
std::vector<WindowHandle> topLevelCollector;
std::vector<WindowHandle> descendantCollector;

BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM) {
  topLevelCollector.push_back(reinterpret_cast<WindowHandle>(window));
  return TRUE;
}

BOOL CALLBACK CollectDescendantWindow(HWND window, LPARAM) {
  descendantCollector.push_back(reinterpret_cast<WindowHandle>(window));
  return TRUE;
}

HWND AsHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

std::vector<WindowHandle> EnumerateTopLevelWindows() {
  topLevelCollector.clear();
  EnumWindows(CollectTopLevelWindow, 0);
  return topLevelCollector;
}

std::vector<WindowHandle> EnumerateDescendantWindows(WindowHandle parent) {
  descendantCollector.clear();
  // Windows treats no parent as EnumWindows; Wine lists nothing then, so ask for it plainly.
  if (parent == 0) {
    EnumWindows(CollectDescendantWindow, 0);
  } else {
    EnumChildWindows(AsHwnd(parent), CollectDescendantWindow, 0);
  }
  return descendantCollector;
}

std::string WindowClassName(WindowHandle window) {
  char name[256];
  int length = GetClassNameA(AsHwnd(window), name, sizeof name);
  return length > 0 ? std::string(name, length) : std::string();
}

std::string WindowTitle(WindowHandle window) {
  int length = GetWindowTextLengthA(AsHwnd(window));
  if (length <= 0) return {};
  std::string title(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(AsHwnd(window), title.data(), length + 1);
  // A title that grew since the length was read is cut there.
  title.resize(title.find('\0'));
  return title;
}

WindowBox WindowBounds(WindowHandle window) {
  RECT rect;
  if (!GetWindowRect(AsHwnd(window), &rect)) return {};
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// SetTimer without a window calls one procedure for every timer; it finds the routine by id.
std::map<UINT_PTR, TimerRoutine> timerRoutines;

void CALLBACK RunTimerRoutine(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = timerRoutines.find(id);
  if (found != timerRoutines.end()) found->second();
}

TimerId StartThreadTimer(unsigned periodMs, TimerRoutine routine) {
  UINT_PTR id = SetTimer(nullptr, 0, periodMs, RunTimerRoutine);
  if (id != 0) timerRoutines[id] = routine;
  return id;
}

void StopThreadTimer(TimerId id) {
  if (id == 0) return;
  KillTimer(nullptr, id);
  timerRoutines.erase(id);
}

}  // namespace

const WindowOps& SystemWindowOps() {
  static const WindowOps ops{EnumerateTopLevelWindows, EnumerateDescendantWindows,
                             WindowClassName, WindowTitle, WindowBounds};
  return ops;
}

const TimerOps& SystemTimerOps() {
  static const TimerOps ops{StartThreadTimer, StopThreadTimer};
  return ops;
}
