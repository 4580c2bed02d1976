#include "alert_window.h"

#include <shellapi.h>

#include <vector>

#include "alert_controls.h"
#include "alert_state.h"
#include "icon_picture.h"
#include "task_band.h"
#include "window_ops_win.h"

namespace {

constexpr char kAlertClassName[] = "KorvaneAlert";
constexpr char kFontFace[] = "微软雅黑";
constexpr int kAlertWidth = 380;
constexpr int kAlertHeight = 411;
constexpr int kPictureSize = 48;
constexpr UINT_PTR kCountdownTimerId = 1;  // 时钟1
constexpr UINT kCountdownPeriodMs = 1000;
constexpr unsigned kSlidePeriodMs = 10;
constexpr UINT kDestructionRequest = WM_APP + 1;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

enum FontKind { kNormalFont, kWarningFont, kBoldFont, kLinkFont, kFontCount };

struct ControlLayout {
  int id;
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
  const char* text;
  FontKind font;
};

// Process names may hold '&'. Only the warning wraps; the other labels are cut at their edge.
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kWrappingLabel = SS_LEFT | SS_NOPREFIX;

const ControlLayout kControls[] = {
    {kAlertWarningId, "STATIC", kWrappingLabel, 0, 19, 9, 341, 55,
     "浏览器试图创建进程，这是网页木马的典型行为,如果你感到意外，敬请拦截!", kWarningFont},
    {kAlertPictureId, "STATIC", SS_OWNERDRAW, 0, 16, 69, kPictureSize, kPictureSize, "",
     kNormalFont},
    {kAlertNameId, "STATIC", kLabel, 0, 78, 101, 230, 16, "", kBoldFont},
    {kAlertPathCaptionId, "STATIC", kLabel, 0, 16, 141, 60, 14, "文件路径：", kNormalFont},
    {kAlertPathId, "EDIT", ES_MULTILINE | ES_READONLY, 0, 78, 140, 287, 35, "", kLinkFont},
    {kAlertDetailsCaptionId, "STATIC", kLabel, 0, 16, 195, 56, 14, "详细信息：", kNormalFont},
    {kAlertDetailsId, "EDIT", ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, 78, 195, 287, 72,
     "", kNormalFont},
    {kAlertParentCaptionId, "STATIC", kLabel, 0, 16, 296, 48, 15, "父进程：", kNormalFont},
    {kAlertParentId, "EDIT", ES_READONLY | ES_AUTOHSCROLL, 0, 80, 296, 287, 15, "",
     kNormalFont},
    {kAlertAllowId, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 144, 328, 105, 39, "放行",
     kNormalFont},
    {kAlertBlockId, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 259, 328, 105, 39,
     "拦截（推荐）10", kNormalFont},
};

// The one alert window and what it holds.
struct AlertWindow {
  HWND window = nullptr;
  HWND owner = nullptr;  // hidden; keeps the alert off the taskbar
  HFONT fonts[kFontCount] = {};
  HICON icon = nullptr;
  PicturePlace iconPlace;
  WNDPROC pathBoxProc = nullptr;
};

AlertWindow alert;
AlertState alertState;

HWND Control(int id) { return GetDlgItem(alert.window, id); }

WindowBox ReadAlertBounds() {
  return SystemWindowOps().WindowBounds(reinterpret_cast<WindowHandle>(alert.window));
}

void MoveAlertTo(int left, int top) {
  SetWindowPos(alert.window, nullptr, left, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ControlText(HWND control) {
  return SystemWindowOps().WindowTitle(reinterpret_cast<WindowHandle>(control));
}

void SetBlockCaption(const std::string& caption) {
  HWND button = Control(kAlertBlockId);
  if (ControlText(button) != caption) SetWindowTextA(button, caption.c_str());  // no flicker
}

void RunSlideInStep();
void RunSlideOutStep();

const AlertEffects& Effects() {
  static const AlertEffects effects{
      ReadAlertBounds,
      MoveAlertTo,
      [] { return SystemTimerOps().StartThreadTimer(kSlidePeriodMs, RunSlideInStep); },
      [] { return SystemTimerOps().StartThreadTimer(kSlidePeriodMs, RunSlideOutStep); },
      [](TimerId id) { SystemTimerOps().StopThreadTimer(id); },
      [] { SetTimer(alert.window, kCountdownTimerId, kCountdownPeriodMs, nullptr); },
      [] { KillTimer(alert.window, kCountdownTimerId); },
      SetBlockCaption,
      [] { PostMessageA(alert.window, kDestructionRequest, 0, 0); },
  };
  return effects;
}

// A thread timer tick may already be on its way when the window goes.
void RunSlideInStep() {
  if (alert.window) SlideInStep(alertState, Effects());
}

void RunSlideOutStep() {
  if (alert.window) SlideOutStep(alertState, Effects());
}

void ShowFileInExplorer(const std::string& path) {
  std::string parameters = "/select," + path;
  ShellExecuteA(nullptr, "open", "explorer.exe", parameters.c_str(), "", SW_SHOWNORMAL);
}

void OnPathBoxClicked() { ShowFileInExplorer(ControlText(Control(kAlertPathId))); }

LRESULT CALLBACK PathBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(alert.pathBoxProc, box, message, wParam, lParam);
  if (message == WM_LBUTTONUP) OnPathBoxClicked();
  return result;
}

HFONT CreateAlertFont(int height, int weight, bool underline) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

bool CreateControls(HWND window) {
  alert.fonts[kNormalFont] = CreateAlertFont(12, FW_NORMAL, false);
  alert.fonts[kWarningFont] = CreateAlertFont(13, FW_NORMAL, false);
  alert.fonts[kBoldFont] = CreateAlertFont(12, FW_BOLD, false);
  alert.fonts[kLinkFont] = CreateAlertFont(12, FW_NORMAL, true);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const ControlLayout& layout : kControls) {
    HWND control = CreateWindowExA(
        layout.exStyle, layout.windowClass, layout.text, WS_CHILD | WS_VISIBLE | layout.style,
        layout.left, layout.top, layout.width, layout.height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!control) return false;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(alert.fonts[layout.font]), FALSE);
  }
  alert.pathBoxProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      Control(kAlertPathId), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PathBoxProc)));
  return true;
}

void DrawPicture(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (!alert.icon) return;
  DrawIconEx(item.hDC, item.rcItem.left + alert.iconPlace.left,
             item.rcItem.top + alert.iconPlace.top, alert.icon, alert.iconPlace.width,
             alert.iconPlace.height, 0, nullptr, DI_NORMAL);
}

void ShowIcon(const std::string& iconBytes) {
  if (alert.icon) DestroyIcon(alert.icon);
  alert.icon = nullptr;
  std::optional<IconImage> image = ChooseIconImage(ReadIconImages(iconBytes), kPictureSize);
  if (image) {
    std::vector<BYTE> bytes(iconBytes.begin() + image->offset,
                            iconBytes.begin() + image->offset + image->size);
    alert.icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE,
                                          0x00030000, image->width, image->height,
                                          LR_DEFAULTCOLOR);
    alert.iconPlace = FitIntoBox(image->width, image->height, kPictureSize);
  }
  InvalidateRect(Control(kAlertPictureId), nullptr, TRUE);
}

void AppendText(HWND box, const std::string& text) {
  int end = GetWindowTextLengthA(box);
  SendMessageA(box, EM_SETSEL, end, end);
  SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Colours of the labels and read-only boxes (both ask with WM_CTLCOLORSTATIC).
LRESULT ColourControl(HDC dc, HWND control) {
  int id = GetDlgCtrlID(control);
  if (id == kAlertDetailsId) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  COLORREF text = RGB(0, 0, 0);
  if (id == kAlertWarningId || id == kAlertNameId) text = kRed;
  if (id == kAlertPathId) text = kBlue;
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// The mouse over the alert or any of its controls; the two boxes show the hand pointer.
bool OnAlertSetCursor(HWND under, UINT hitTest, UINT mouseMessage) {
  if (mouseMessage == WM_MOUSEMOVE || mouseMessage == WM_NCMOUSEMOVE) {
    OnAlertMouseMove(alertState, Effects());
  }
  bool box = under == Control(kAlertPathId) || under == Control(kAlertParentId);
  if (hitTest != HTCLIENT || !box) return false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

void OnAlertDestroyed() {
  KillTimer(alert.window, kCountdownTimerId);
  StopSlideTimers(alertState, Effects());  // no timer outlives the window
}

// The controls are gone by now; the path box needed its original procedure until then.
void OnAlertFinallyDestroyed() {
  // The hidden owner goes on the next dispatch; the message also wakes a wait that sleeps in
  // GetMessage, so that it sees the alert is gone.
  if (alert.owner) PostMessageA(alert.owner, WM_CLOSE, 0, 0);
  if (alert.icon) DestroyIcon(alert.icon);
  for (HFONT font : alert.fonts) {
    if (font) DeleteObject(font);
  }
  alert = AlertWindow{};
}

LRESULT CALLBACK AlertWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      alert.window = window;
      if (!CreateControls(window)) return -1;
      ScreenSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      OnAlertCreated(alertState, Effects(), screen, TaskBandHeight(SystemWindowOps()));
      return 0;
    }
    case WM_TIMER:
      if (wParam == kCountdownTimerId) OnCountdownTick(alertState, Effects());
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kAlertAllowId) {
        OnAllowClicked(alertState, Effects());
      } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kAlertBlockId) {
        OnBlockClicked(alertState, Effects());
      }
      return 0;
    case WM_SETCURSOR:
      if (OnAlertSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      if (wParam == kAlertPictureId) {
        DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      OnAlertCloseRequest(alertState, Effects());
      return 0;  // refused: the slide-out ends in the destruction
    case kDestructionRequest:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      OnAlertDestroyed();
      return 0;
    case WM_NCDESTROY:
      OnAlertFinallyDestroyed();
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterAlertClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = AlertWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kAlertClassName;
  registered = RegisterClassExA(&windowClass) != 0;
  return registered;
}

}  // namespace

HWND LoadAlertWindow() {
  if (alert.window || !RegisterAlertClass()) return nullptr;  // one alert at a time
  // An owned window gets no taskbar button; the owner is the alert's own hidden window, so
  // the alert stays independent of every other window of the program.
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance, nullptr);
  if (!owner) return nullptr;
  // Fixed border, title bar with system menu and close box only; topmost.
  HWND window = CreateWindowExA(WS_EX_TOPMOST, kAlertClassName, "",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0,
                                GetSystemMetrics(SM_CYSCREEN), kAlertWidth, kAlertHeight, owner,
                                nullptr, instance, nullptr);
  if (!window) {
    DestroyWindow(owner);
    return nullptr;
  }
  alert.owner = owner;
  ShowWindow(window, SW_SHOW);
  return window;
}

void FillAlertWindow(HWND window, const AlertContent& content) {
  if (!window || window != alert.window) return;
  SetWindowTextA(window, content.caption.c_str());
  SetWindowTextA(Control(kAlertNameId), content.processLabel.c_str());
  SetWindowTextA(Control(kAlertPathId), content.path.c_str());
  SetWindowTextA(Control(kAlertParentId), content.parent.c_str());
  ShowIcon(content.iconBytes);
  AppendText(Control(kAlertDetailsId), content.details);
}

void PumpUntilAlertGone(HWND window) {
  bool quitSeen = false;
  WPARAM quitCode = 0;
  MSG message;
  while (IsWindow(window)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // keep the quit request for the loop that owns it
      quitSeen = true;
      quitCode = message.wParam;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (quitSeen) PostQuitMessage(static_cast<int>(quitCode));
}

int StoredAlertVerdict() { return alertState.verdict; }
