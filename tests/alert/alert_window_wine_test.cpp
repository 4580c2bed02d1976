// The real alert in Wine's 1024 x 768 virtual desktop with its 20-pixel taskbar shown.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "alert_controls.h"
#include "alert_window.h"
#include "ico_bytes.h"
#include "wine_bench.h"

namespace {

constexpr int kRightEdgeLeft = 1024 - 380;
// 768 - 411 - 20 = 337; the rise from 768 in steps of 10 stops at the first top at or above.
constexpr int kRestTop = 328;
const char kStem[] = "拦截（推荐）";

AlertContent SampleContent() {
  AlertContent content;
  content.caption = "拦截到 test.exe 创建";
  content.processLabel = "test.exe  [PID]：1234";
  content.path = "C:\\windows\\notepad.exe";
  content.parent = "chrome.exe  [PID]：88";
  content.iconBytes = IcoFile({{32, 32, SolidColour(0xffff0000)}});
  content.details = "公司名称：甲\r\n文件描述：乙\r\n文件版本：1.0";
  return content;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

HWND OpenAlert(const AlertContent& content = SampleContent()) {
  HWND alert = LoadAlertWindow();
  if (alert) FillAlertWindow(alert, content);
  return alert;
}

bool WaitForRest(HWND alert) {
  return PumpUntil([alert] { return ScreenRect(alert).top == kRestTop; }, 5000);
}

// Leaves `verdict` in the alert's record by answering a throw-away alert at once.
void StoreVerdict(int verdict) {
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  int button = verdict == 1 ? kAlertAllowId : kAlertBlockId;
  SendMessageA(GetDlgItem(alert, button), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);
  ASSERT_EQ(StoredAlertVerdict(), verdict);
}

void MoveMouseTo(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void PressKeys(std::vector<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT CentreOf(HWND control) {
  RECT rect = ScreenRect(control);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class AlertWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tray = new TrayIcon; }
  static void TearDownTestSuite() {
    delete tray;
    tray = nullptr;
  }
  // Nothing in these tests may pass over the alert unless it says so.
  void SetUp() override { MoveMouseTo(5, 5); }

  static TrayIcon* tray;
};

TrayIcon* AlertWindow::tray = nullptr;

struct ControlLayout {
  int id;
  const char* windowClass;
  RECT box;  // left, top, width, height in the client area
  const char* layoutText;
  int fontHeight;
  int weight;
  bool underline;
};

const ControlLayout kTable[] = {
    {kAlertWarningId, "Static", {19, 9, 341, 55},
     "浏览器试图创建进程，这是网页木马的典型行为,如果你感到意外，敬请拦截!", 13, 400, false},
    {kAlertPictureId, "Static", {16, 69, 48, 48}, "", 12, 400, false},
    {kAlertNameId, "Static", {78, 101, 230, 16}, "", 12, 700, false},
    {kAlertPathCaptionId, "Static", {16, 141, 60, 14}, "文件路径：", 12, 400, false},
    {kAlertPathId, "Edit", {78, 140, 287, 35}, "", 12, 400, true},
    {kAlertDetailsCaptionId, "Static", {16, 195, 56, 14}, "详细信息：", 12, 400, false},
    {kAlertDetailsId, "Edit", {78, 195, 287, 72}, "", 12, 400, false},
    {kAlertParentCaptionId, "Static", {16, 296, 48, 15}, "父进程：", 12, 400, false},
    {kAlertParentId, "Edit", {80, 296, 287, 15}, "", 12, 400, false},
    {kAlertAllowId, "Button", {144, 328, 105, 39}, "放行", 12, 400, false},
    {kAlertBlockId, "Button", {259, 328, 105, 39}, "拦截（推荐）10", 12, 400, false},
};

TEST_F(AlertWindow, IsLaidOutAsTheTableAndFilledAsGiven) {
  HWND alert = LoadAlertWindow();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(LoadAlertWindow(), nullptr);  // one alert at a time
  EXPECT_TRUE(IsWindowVisible(alert));
  RECT outer = ScreenRect(alert);
  EXPECT_EQ(outer.right - outer.left, 380);
  EXPECT_EQ(outer.bottom - outer.top, 411);
  auto style = static_cast<DWORD>(GetWindowLongPtrA(alert, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(alert, GWL_EXSTYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0u);
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0u);
  EXPECT_EQ(TextOf(alert), "");

  for (const ControlLayout& expected : kTable) {
    SCOPED_TRACE(expected.id);
    HWND control = GetDlgItem(alert, expected.id);
    ASSERT_NE(control, nullptr);
    char windowClass[64];
    GetClassNameA(control, windowClass, sizeof windowClass);
    EXPECT_STRCASEEQ(windowClass, expected.windowClass);
    RECT box = ScreenRect(control);
    MapWindowPoints(nullptr, alert, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, expected.box.left);
    EXPECT_EQ(box.top, expected.box.top);
    EXPECT_EQ(box.right - box.left, expected.box.right);
    EXPECT_EQ(box.bottom - box.top, expected.box.bottom);
    EXPECT_EQ(TextOf(control), expected.layoutText);
    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                         sizeof font, &font),
              static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "微软雅黑");
    EXPECT_EQ(font.lfHeight, -expected.fontHeight);
    EXPECT_EQ(font.lfWeight, expected.weight);
    EXPECT_EQ(font.lfUnderline != 0, expected.underline);
  }

  struct BoxStyle {
    int id;
    bool multiLine;
    bool sunken;
  };
  for (BoxStyle box : {BoxStyle{kAlertPathId, true, false}, BoxStyle{kAlertDetailsId, true, true},
                      BoxStyle{kAlertParentId, false, false}}) {
    SCOPED_TRACE(box.id);
    HWND control = GetDlgItem(alert, box.id);
    auto boxStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    auto boxExStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
    EXPECT_NE(boxStyle & ES_READONLY, 0u);
    EXPECT_EQ((boxStyle & ES_MULTILINE) != 0, box.multiLine);
    EXPECT_EQ(boxStyle & WS_BORDER, 0u);
    EXPECT_EQ((boxExStyle & WS_EX_CLIENTEDGE) != 0, box.sunken);
  }

  AlertContent content = SampleContent();
  FillAlertWindow(alert, content);
  EXPECT_EQ(TextOf(alert), content.caption);
  EXPECT_EQ(TextOf(GetDlgItem(alert, kAlertNameId)), content.processLabel);
  EXPECT_EQ(TextOf(GetDlgItem(alert, kAlertPathId)), content.path);
  EXPECT_EQ(TextOf(GetDlgItem(alert, kAlertParentId)), content.parent);
  EXPECT_EQ(TextOf(GetDlgItem(alert, kAlertDetailsId)), content.details);

  SendMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);
  EXPECT_FALSE(IsWindow(alert));
}

// Wine's taskbar gives every visible unowned top-level window a button: a child of the
// taskbar whose id is that window's handle.
bool HasTaskbarButton(HWND window) {
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  for (HWND button = GetWindow(taskbar, GW_CHILD); button;
       button = GetWindow(button, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(button, GWLP_ID) == reinterpret_cast<LONG_PTR>(window)) {
      return IsWindowVisible(button) != FALSE;
    }
  }
  return false;
}

TEST_F(AlertWindow, HasNoTaskbarButton) {
  HWND ordinary = CreateWindowExA(0, "STATIC", "ordinary", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                  10, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_TRUE(PumpUntil([ordinary] { return HasTaskbarButton(ordinary); }, 2000));
  EXPECT_FALSE(HasTaskbarButton(alert));
  DestroyWindow(ordinary);
  SendMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);
}

// Every position the alert takes, from the first move after it was loaded to its last.
std::vector<POINT> positions;
WNDPROC alertProc = nullptr;

LRESULT CALLBACK RecordPositions(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGED) {
    const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
    bool moved = positions.empty() || positions.back().x != place->x ||
                 positions.back().y != place->y;
    if (!(place->flags & SWP_NOMOVE) && moved) positions.push_back({place->x, place->y});
  }
  return CallWindowProcA(alertProc, window, message, wParam, lParam);
}

TEST_F(AlertWindow, RisesAtTheRightEdgeAndRestsAboveTheTaskbar) {
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  RECT start = ScreenRect(alert);
  EXPECT_EQ(start.left, kRightEdgeLeft);
  EXPECT_EQ(start.top, 768);  // wholly below the screen
  positions.clear();
  alertProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(alert, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPositions)));
  ASSERT_TRUE(WaitForRest(alert));
  PumpFor(200);
  EXPECT_EQ(ScreenRect(alert).top, kRestTop);  // and stays there
  SendMessageA(GetDlgItem(alert, kAlertBlockId), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);

  std::vector<POINT> expected;
  for (int top = 758; top >= kRestTop; top -= 10) expected.push_back({kRightEdgeLeft, top});
  // Down again: the step that finds the top past the taskbar's top (748), at 758, requests
  // the destruction and still moves once more.
  for (int top = kRestTop + 10; top <= 768; top += 10) expected.push_back({kRightEdgeLeft, top});
  ASSERT_EQ(positions.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(positions[i].x, expected[i].x) << i;
    EXPECT_EQ(positions[i].y, expected[i].y) << i;
  }
}

std::vector<std::string> captions;
WNDPROC blockButtonProc = nullptr;

LRESULT CALLBACK RecordCaptions(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(blockButtonProc, button, message, wParam, lParam);
  std::string caption = TextOf(button);
  if (message == WM_SETTEXT && caption != captions.back()) captions.push_back(caption);
  return result;
}

TEST_F(AlertWindow, BlocksByItselfAboutElevenSecondsAfterOpening) {
  StoreVerdict(1);
  DWORD opened = GetTickCount();
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  HWND block = GetDlgItem(alert, kAlertBlockId);
  captions = {TextOf(block)};
  blockButtonProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(block, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCaptions)));
  PumpUntilAlertGone(alert);
  DWORD elapsed = GetTickCount() - opened;
  std::printf("blocked by itself and gone after %lu ms\n", elapsed);

  std::vector<std::string> expected;
  for (int n = 10; n >= 0; --n) expected.push_back(kStem + std::to_string(n));
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(StoredAlertVerdict(), 0);
  EXPECT_GE(elapsed, 10000u);  // not before the eleventh tick
}

struct AnswerCase {
  const char* name;
  UINT message;
  int target;  // control id, or 0 for the alert itself
  int verdict;
};

TEST_F(AlertWindow, AnswersBothButtonsAndRefusesTheCloseRequest) {
  const AnswerCase cases[] = {
      {"allow", BM_CLICK, kAlertAllowId, 1},
      {"block", BM_CLICK, kAlertBlockId, 0},
      {"allowAgain", BM_CLICK, kAlertAllowId, 1},
      {"close", WM_CLOSE, 0, 0},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    HWND alert = OpenAlert();
    ASSERT_NE(alert, nullptr);
    HWND target = c.target ? GetDlgItem(alert, c.target) : alert;
    bool aliveAfterAnswer = false;
    // Answers from another thread while this one waits in the alert's own pump.
    std::thread user([&] {
      Sleep(150);
      SendMessageA(target, c.message, 0, 0);
      aliveAfterAnswer = IsWindow(alert) != FALSE;
    });
    PumpUntilAlertGone(alert);
    user.join();
    EXPECT_TRUE(aliveAfterAnswer);  // it slides out first, also after a close request
    EXPECT_EQ(StoredAlertVerdict(), c.verdict);
  }
}

TEST_F(AlertWindow, MouseOverAControlStopsTheCountdownForGood) {
  StoreVerdict(1);
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_TRUE(WaitForRest(alert));
  HWND block = GetDlgItem(alert, kAlertBlockId);
  EXPECT_NE(TextOf(block), kStem);

  POINT details = CentreOf(GetDlgItem(alert, kAlertDetailsId));
  MoveMouseTo(details.x, details.y);
  EXPECT_TRUE(PumpUntil([block] { return TextOf(block) == kStem; }, 2000));
  POINT path = CentreOf(GetDlgItem(alert, kAlertPathId));
  MoveMouseTo(path.x, path.y);
  HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  EXPECT_TRUE(PumpUntil([hand] { return GetCursor() == hand; }, 2000));
  MoveMouseTo(5, 5);
  PumpFor(1300);  // more than a countdown period
  EXPECT_EQ(TextOf(block), kStem);

  // Escape does nothing; Alt+F4 is a close request, answered with block.
  SetForegroundWindow(alert);
  PressKeys({VK_ESCAPE});
  PumpFor(300);
  EXPECT_EQ(ScreenRect(alert).top, kRestTop);
  EXPECT_EQ(StoredAlertVerdict(), 1);
  PressKeys({VK_MENU, VK_F4});
  EXPECT_TRUE(PumpUntil([alert] { return !IsWindow(alert); }, 3000));
  EXPECT_EQ(StoredAlertVerdict(), 0);
}

void ClickAt(POINT point) {
  MoveMouseTo(point.x, point.y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
}

TEST_F(AlertWindow, ClickOnThePathShowsTheFileInExplorer) {
  HWND alert = OpenAlert();  // its path is C:\windows\notepad.exe
  ASSERT_NE(alert, nullptr);
  ASSERT_TRUE(WaitForRest(alert));
  ASSERT_EQ(FindWindowA("ExplorerWClass", "windows"), nullptr);
  ClickAt(CentreOf(GetDlgItem(alert, kAlertPathId)));
  HWND folder = nullptr;
  EXPECT_TRUE(PumpUntil([&folder] { return (folder = FindWindowA("ExplorerWClass", "windows")); },
                        5000));
  if (folder) PostMessageA(folder, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(alert));  // the alert carries on
  MoveMouseTo(5, 5);
  SendMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);
}

struct PixelProbe {
  int x, y;
  COLORREF colour;  // kFace for the window background
};

constexpr COLORREF kFace = 0xff000000;  // stands for the window background

struct PictureCase {
  const char* name;
  std::string ico;
  std::vector<PixelProbe> probes;
};

TEST_F(AlertWindow, PictureBoxCentresTheIconAndShrinksOnlyLargeOnes) {
  const PictureCase cases[] = {
      {"small32CentredNotEnlarged",
       IcoFile({{32, 32, SolidColour(0xffff0000)}}),
       {{7, 7, kFace}, {8, 8, RGB(255, 0, 0)}, {39, 39, RGB(255, 0, 0)}, {40, 40, kFace}}},
      {"large96Shrunk",
       IcoFile({{96, 96, SolidColour(0xff0000ff)}}),
       {{0, 0, RGB(0, 0, 255)}, {47, 47, RGB(0, 0, 255)}}},
      {"wide96x48KeepsProportions",
       IcoFile({{96, 48, SolidColour(0xff00ff00)}}),
       {{24, 11, kFace}, {24, 12, RGB(0, 255, 0)}, {24, 35, RGB(0, 255, 0)}, {24, 36, kFace}}},
      {"best48OfSeveral",
       IcoFile({{16, 16, SolidColour(0xffff0000)}, {48, 48, SolidColour(0xff00ff00)},
                {64, 64, SolidColour(0xff0000ff)}}),
       {{0, 0, RGB(0, 255, 0)}, {47, 47, RGB(0, 255, 0)}}},
      {"notAnIcon", "garbage that is not an icon", {{24, 24, kFace}}},
  };
  HWND alert = OpenAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_TRUE(WaitForRest(alert));
  HWND picture = GetDlgItem(alert, kAlertPictureId);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.name);
    AlertContent content = SampleContent();
    content.iconBytes = c.ico;
    FillAlertWindow(alert, content);
    UpdateWindow(picture);
    PumpFor(50);
    HDC dc = GetDC(picture);
    for (const PixelProbe& probe : c.probes) {
      COLORREF want = probe.colour == kFace ? face : probe.colour;
      EXPECT_EQ(GetPixel(dc, probe.x, probe.y), want) << probe.x << "," << probe.y;
    }
    ReleaseDC(picture, dc);
  }
  SendMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  PumpUntilAlertGone(alert);
}

}  // namespace
