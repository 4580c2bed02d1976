// The window and timer operations and the taskbar measurement over Wine's real windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "task_band.h"
#include "text_rules.h"
#include "window_ops_win.h"
#include "wine_bench.h"

namespace {

WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

bool Contains(const std::vector<WindowHandle>& list, HWND window) {
  return std::find(list.begin(), list.end(), Handle(window)) != list.end();
}

HWND CreatePlain(const char* windowClass, const char* title, DWORD style, HWND parent,
                 RECT box = {0, 0, 50, 50}) {
  return CreateWindowExA(0, windowClass, title, style, box.left, box.top, box.right, box.bottom,
                         parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowOps, EnumeratesTopLevelWindowsAndAllDescendants) {
  const WindowOps& ops = SystemWindowOps();
  HWND top = CreatePlain("STATIC", "top", WS_POPUP, nullptr);
  HWND child = CreatePlain("STATIC", "child", WS_CHILD, top);
  HWND grandchild = CreatePlain("STATIC", "grandchild", WS_CHILD, child);

  std::vector<WindowHandle> topLevel = ops.EnumerateTopLevelWindows();
  EXPECT_TRUE(Contains(topLevel, top));  // hidden windows too
  EXPECT_FALSE(Contains(topLevel, child));
  EXPECT_EQ(ops.EnumerateDescendantWindows(Handle(top)),
            (std::vector<WindowHandle>{Handle(child), Handle(grandchild)}));
  // A second enumeration starts from an empty list.
  EXPECT_EQ(ops.EnumerateDescendantWindows(Handle(child)),
            (std::vector<WindowHandle>{Handle(grandchild)}));
  EXPECT_TRUE(Contains(ops.EnumerateDescendantWindows(0), top));
  DestroyWindow(top);
  EXPECT_FALSE(Contains(ops.EnumerateTopLevelWindows(), top));
}

// Answers the length query with 3 whatever its title is, as if it grew after the query.
LRESULT CALLBACK ShortLengthProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETTEXTLENGTH) return 3;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowOps, ReadsClassNamesAndTitles) {
  const WindowOps& ops = SystemWindowOps();
  std::string longName(255, 'k');
  WNDCLASSA longClass{};
  longClass.lpfnWndProc = ShortLengthProc;
  longClass.hInstance = GetModuleHandleA(nullptr);
  longClass.lpszClassName = longName.c_str();
  ASSERT_NE(RegisterClassA(&longClass), 0);
  HWND grown = CreatePlain(longName.c_str(), "abcdef", WS_POPUP, nullptr);
  HWND titled = CreatePlain("STATIC", "拦截到 a.exe 创建", WS_POPUP, nullptr);
  HWND untitled = CreatePlain("STATIC", "", WS_POPUP, nullptr);

  EXPECT_EQ(ops.WindowClassName(Handle(grown)), longName);
  EXPECT_TRUE(EqualsIgnoreCase(ops.WindowClassName(Handle(titled)), "static"));
  EXPECT_EQ(ops.WindowTitle(Handle(grown)), "abc");
  EXPECT_EQ(ops.WindowTitle(Handle(titled)), "拦截到 a.exe 创建");
  EXPECT_EQ(ops.WindowTitle(Handle(untitled)), "");
  DestroyWindow(untitled);
  EXPECT_EQ(ops.WindowClassName(Handle(untitled)), "");
  EXPECT_EQ(ops.WindowTitle(Handle(untitled)), "");
  DestroyWindow(titled);
  DestroyWindow(grown);
}

TEST(WindowOps, GivesOuterRectanglesAndZerosForNoWindow) {
  const WindowOps& ops = SystemWindowOps();
  HWND window = CreatePlain("STATIC", "box", WS_POPUP, nullptr, {10, 20, 300, 200});
  WindowBox box = ops.WindowBounds(Handle(window));
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.width, 300);
  EXPECT_EQ(box.height, 200);
  DestroyWindow(window);
  for (WindowHandle gone : {Handle(window), WindowHandle{0}}) {
    WindowBox none = ops.WindowBounds(gone);
    EXPECT_EQ(none.left | none.top | none.width | none.height, 0);
  }
}

int firstTicks = 0;
int secondTicks = 0;

TEST(TimerOps, RunsEachRoutineUntilStopped) {
  const TimerOps& timers = SystemTimerOps();
  TimerId first = timers.StartThreadTimer(10, [] { ++firstTicks; });
  TimerId second = timers.StartThreadTimer(10, [] { ++secondTicks; });
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, first);
  EXPECT_TRUE(PumpUntil([] { return firstTicks >= 3 && secondTicks >= 3; }, 2000));
  timers.StopThreadTimer(first);
  timers.StopThreadTimer(first);  // stopping twice is harmless
  timers.StopThreadTimer(0);
  int stoppedAt = firstTicks;
  int secondBefore = secondTicks;
  PumpFor(150);
  EXPECT_EQ(firstTicks, stoppedAt);
  EXPECT_GT(secondTicks, secondBefore);
  timers.StopThreadTimer(second);
}

// Wine's taskbar has no task band, so the whole taskbar's height counts.
TEST(TaskBandHeight, MeasuresWinesTaskbar) {
  TrayIcon tray;
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(taskbar, nullptr);
  EXPECT_TRUE(IsWindowVisible(taskbar));
  for (WindowHandle below : SystemWindowOps().EnumerateDescendantWindows(Handle(taskbar))) {
    EXPECT_FALSE(EqualsIgnoreCase(SystemWindowOps().WindowClassName(below), "MSTaskSwWClass"));
  }
  RECT rect;
  GetWindowRect(taskbar, &rect);
  EXPECT_EQ(rect.bottom - rect.top, 20);
  EXPECT_EQ(TaskBandHeight(SystemWindowOps()), 20);
}

}  // namespace
