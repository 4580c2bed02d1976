#include "task_band.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakeWindow {
  WindowHandle parent;
  std::string className;
  std::string title;
  int height;
};

// A window tree in system order; handles are the keys.
struct FakeDesktop {
  std::map<WindowHandle, FakeWindow> windows;
  std::vector<WindowHandle> order;
  int titleReads = 0;

  void Add(WindowHandle handle, FakeWindow window) {
    windows[handle] = window;
    order.push_back(handle);
  }
  bool IsBelow(WindowHandle window, WindowHandle ancestor) const {
    for (WindowHandle up = windows.at(window).parent; up != 0; up = windows.at(up).parent) {
      if (up == ancestor) return true;
    }
    return false;
  }
  std::vector<WindowHandle> Below(WindowHandle parent) const {
    std::vector<WindowHandle> found;
    for (WindowHandle handle : order) {
      bool wanted = parent == 0 ? windows.at(handle).parent == 0 : IsBelow(handle, parent);
      if (wanted) found.push_back(handle);
    }
    return found;
  }
  WindowOps Ops() {
    return WindowOps{
        [this] { return Below(0); },
        [this](WindowHandle parent) { return Below(parent); },
        [this](WindowHandle h) { return windows.count(h) ? windows.at(h).className : ""; },
        [this](WindowHandle h) {
          ++titleReads;
          return windows.count(h) ? windows.at(h).title : "";
        },
        [this](WindowHandle h) {
          return windows.count(h) ? WindowBox{0, 0, 100, windows.at(h).height} : WindowBox{};
        },
    };
  }
};

struct BandCase {
  const char* name;
  std::vector<std::pair<WindowHandle, FakeWindow>> windows;
  int height;
};

const BandCase kCases[] = {
    {"usualTaskbar",
     {{1, {0, "Notepad", "", 500}},
      {2, {0, "Shell_TrayWnd", "", 40}},
      {3, {2, "ReBarWindow32", "", 38}},
      {4, {3, "MSTaskSwWClass", "", 30}}},
     30},
    {"titledTrayPassedOver",
     {{1, {0, "Shell_TrayWnd", "fake", 99}},
      {5, {1, "MSTaskSwWClass", "", 77}},
      {2, {0, "Shell_TrayWnd", "", 40}},
      {3, {2, "MSTaskSwWClass", "", 30}}},
     30},
    {"classNamesCaseBlind",
     {{1, {0, "SHELL_TRAYWND", "", 40}}, {2, {1, "mstaskswwclass", "", 28}}},
     28},
    {"bandDeepBelowTaskbar",
     {{1, {0, "Shell_TrayWnd", "", 40}},
      {2, {1, "A", "", 1}},
      {3, {2, "B", "", 2}},
      {4, {3, "C", "", 3}},
      {5, {4, "MSTaskSwWClass", "", 26}}},
     26},
    {"firstBandTaken",
     {{1, {0, "Shell_TrayWnd", "", 40}},
      {2, {1, "MSTaskSwWClass", "", 30}},
      {3, {1, "MSTaskSwWClass", "", 12}}},
     30},
    {"taskbarWithoutBand", {{1, {0, "Shell_TrayWnd", "", 20}}, {2, {1, "Button", "", 18}}}, 20},
    {"noTaskbar", {{1, {0, "Notepad", "", 500}}, {2, {1, "MSTaskSwWClass", "", 30}}}, 0},
    {"noTaskbarBandAtTopLevel",
     {{1, {0, "Notepad", "", 500}}, {2, {0, "MSTaskSwWClass", "", 33}}},
     33},
    {"nothingAtAll", {}, 0},
};

TEST(TaskBandHeight, FindsTheBandOrFallsBack) {
  for (const BandCase& c : kCases) {
    SCOPED_TRACE(c.name);
    FakeDesktop desktop;
    for (const auto& [handle, window] : c.windows) desktop.Add(handle, window);
    EXPECT_EQ(TaskBandHeight(desktop.Ops()), c.height);
  }
}

TEST(TaskBandHeight, ReadsTitlesOnlyOfTaskbarCandidates) {
  FakeDesktop desktop;
  desktop.Add(1, {0, "Notepad", "Untitled", 500});
  desktop.Add(2, {0, "Chrome", "page", 500});
  desktop.Add(3, {0, "Shell_TrayWnd", "", 40});
  TaskBandHeight(desktop.Ops());
  EXPECT_EQ(desktop.titleReads, 1);
}

}  // namespace
