#include "task_band.h"

#include "text_rules.h"

int TaskBandHeight(const WindowOps& windows) {
  WindowHandle taskbar = 0;
  for (WindowHandle window : windows.EnumerateTopLevelWindows()) {
    // The title is read only for windows of the taskbar's class.
    if (EqualsIgnoreCase(windows.WindowClassName(window), "Shell_TrayWnd") &&
        windows.WindowTitle(window).empty()) {
      taskbar = window;
      break;
    }
  }
  WindowHandle band = taskbar;
  for (WindowHandle window : windows.EnumerateDescendantWindows(taskbar)) {
    if (EqualsIgnoreCase(windows.WindowClassName(window), "MSTaskSwWClass")) {
      band = window;
      break;
    }
  }
  return windows.WindowBounds(band).height;
}
