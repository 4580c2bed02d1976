// Opens one filled-in alert above Wine's taskbar and waits until it has gone: the picture
// that the screenshot of the alert is taken from.
#include <cstdint>

#include "alert_window.h"
#include "ico_bytes.h"
#include "wine_bench.h"

namespace {

// A blue shield-like disc with a white bar, its edge blended into transparency.
std::uint32_t ShowcasePixel(int x, int y) {
  double dx = x - 15.5;
  double dy = y - 15.5;
  double distance = dx * dx + dy * dy;
  if (distance > 15.0 * 15.0) return 0;
  bool bar = x >= 14 && x <= 17 && ((y >= 7 && y <= 18) || (y >= 21 && y <= 24));
  return bar ? 0xffffffff : 0xff1e64c8;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TrayIcon tray;
  SetCursorPos(5, 5);
  HWND alert = LoadAlertWindow();
  if (!alert) return 1;
  AlertContent content;
  content.caption = "拦截到 test.exe 创建";
  content.processLabel = "test.exe  [PID]：1234";
  content.path = "C:\\Users\\korvane\\Downloads\\新建文件夹\\test.exe";
  content.parent = "chrome.exe  [PID]：88";
  content.iconBytes = IcoFile({{32, 32, ShowcasePixel}});
  content.details = "公司名称：示例软件有限公司\r\n文件描述：测试程序\r\n文件版本：1.0.0.1";
  FillAlertWindow(alert, content);
  PumpUntilAlertGone(alert);
  return StoredAlertVerdict();
}
