// The few window-system operations the alert needs, as tables of operations so that the
// logic above them can be driven in tests by look-ups passed in. Plain C++: handles and
// timer ids are carried as integers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using WindowHandle = std::uintptr_t;  // 0 stands for no window
using TimerId = std::uintptr_t;       // 0 means no timer was started

// A window's outer rectangle in screen pixels; all zeros for an invalid handle.
struct WindowBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct WindowOps {
  // Every top-level window, visible or not, in the system's order.
  std::function<std::vector<WindowHandle>()> EnumerateTopLevelWindows;
  // Every window below the parent at any depth; for parent 0 the top-level windows.
  std::function<std::vector<WindowHandle>(WindowHandle parent)> EnumerateDescendantWindows;
  // At most 255 characters; empty for an invalid handle.
  std::function<std::string(WindowHandle)> WindowClassName;
  // Empty when the window has none.
  std::function<std::string(WindowHandle)> WindowTitle;
  std::function<WindowBox(WindowHandle)> WindowBounds;
};

// A routine run by a thread timer; it gets nothing from the system.
using TimerRoutine = void (*)();

struct TimerOps {
  // A window-less timer whose ticks run the routine when the thread dispatches messages.
  std::function<TimerId(unsigned periodMs, TimerRoutine routine)> StartThreadTimer;
  // Id 0 and ids of stopped timers are accepted and ignored.
  std::function<void(TimerId)> StopThreadTimer;
};
