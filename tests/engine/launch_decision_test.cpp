// The launch decision end to end under Wine: real processes, the real watcher on a 1 ms
// poll timer, the real alert. A stand-in browser (launch_parent.exe copied as chrome.exe)
// starts launch_child.exe and ends with its exit code: 7 when the child ran to completion,
// 0 when it was terminated.
#include "launch_decision.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "alert_controls.h"
#include "child_process.h"
#include "fingerprint_lookups_win.h"
#include "log_view.h"
#include "md5.h"
#include "process_control_win.h"
#include "process_watcher.h"

namespace {

constexpr int kRanToCompletion = 7;
constexpr int kTerminated = 0;

struct Decision {
  int processId;
  std::string path;
  int verdict;
};

// What the poll timer works on; one per test.
struct LaunchBench {
  HWND host = nullptr;
  WatcherState watcher;
  ProcessControl control;
  int workMode = 0;
  Whitelist whitelist;
  std::vector<Decision> decisions;
  std::atomic<int> deciding{0};  // the process being decided, for the helper thread
  int topLevelWindowsCreated = 0;
};

LaunchBench* bench = nullptr;

void CALLBACK OnPollTimer(HWND, UINT, UINT_PTR, DWORD) {
  WatchProcesses(bench->watcher, bench->control, [](int processId, const std::string& path) {
    bench->deciding = processId;
    LaunchInputs inputs{bench->workMode, bench->whitelist, bench->watcher.CurrentVersionFields};
    int verdict = DecideLaunch(processId, path, inputs);
    bench->decisions.push_back({processId, path, verdict});
    return verdict;
  });
}

LRESULT CALLBACK OnWindowCreating(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && bench &&
      !(reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style & WS_CHILD)) {
    ++bench->topLevelWindowsCreated;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The alert is the main thread's window that has an allow button.
HWND FindAlert(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) {
        if (!IsWindowVisible(window) || !GetDlgItem(window, kAlertAllowId)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WaitForAlert(DWORD thread, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(5)) {
    if (HWND alert = FindAlert(thread)) return alert;
  }
  return nullptr;
}

// Waits until the alert has stopped rising.
void WaitUntilResting(HWND alert) {
  RECT last{};
  GetWindowRect(alert, &last);
  for (int still = 0, tries = 0; still < 20 && tries < 500; ++tries) {
    Sleep(10);
    RECT now{};
    GetWindowRect(alert, &now);
    still = now.top == last.top ? still + 1 : 0;
    last = now;
  }
}

// What the helper thread saw of the alert.
struct AlertSeen {
  bool found = false;
  DWORD appearedAt = 0;
  int processId = 0;
  std::string caption, name, path, parent, details;
  COLORREF iconPixels[2] = {};
};

// Reads everything the user sees of an alert, texts and two pixels of the icon.
AlertSeen ReadAlert(HWND alert) {
  AlertSeen seen;
  seen.found = true;
  seen.appearedAt = GetTickCount();
  seen.processId = bench->deciding;
  seen.caption = TextOf(alert);  // answered once the decision pumps, i.e. after filling
  seen.name = TextOf(GetDlgItem(alert, kAlertNameId));
  seen.path = TextOf(GetDlgItem(alert, kAlertPathId));
  seen.parent = TextOf(GetDlgItem(alert, kAlertParentId));
  seen.details = TextOf(GetDlgItem(alert, kAlertDetailsId));
  WaitUntilResting(alert);
  RECT box{};
  GetWindowRect(GetDlgItem(alert, kAlertPictureId), &box);
  HDC screen = GetDC(nullptr);
  // The 16 x 16 image is centred in the 48 x 48 box; pixels (8, 8) and (3, 12) of it.
  seen.iconPixels[0] = GetPixel(screen, box.left + 16 + 8, box.top + 16 + 8);
  seen.iconPixels[1] = GetPixel(screen, box.left + 16 + 3, box.top + 16 + 12);
  ReleaseDC(nullptr, screen);
  return seen;
}

// The colour of sample_icon.ico's 32-bit image at (x, y) from the top: its rows are stored
// bottom-up, with blue 40 + 10 x and green 200 - 8 row.
COLORREF SampleIconColour(int x, int y) {
  int storedRow = 15 - y;
  return RGB(30, 200 - 8 * storedRow, 40 + 10 * x);
}

bool CloseColour(COLORREF a, COLORREF b) {
  auto within = [](int p, int q) { return p - q <= 8 && q - p <= 8; };
  return within(GetRValue(a), GetRValue(b)) && within(GetGValue(a), GetGValue(b)) &&
         within(GetBValue(a), GetBValue(b));
}

class LaunchDecision : public testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, 0);  // away from where the alert rests: no mouse movement over it
    CreateDirectoryA(PathBesideTest("browsers").c_str(), nullptr);
    for (const char* name : {"chrome.exe", "firefox.exe"}) {
      CopyFileA(PathBesideTest("launch_parent.exe").c_str(), BrowserPath(name).c_str(), FALSE);
    }
    bench = &state;
    state.host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND logView = CreateLogView(state.host, 0, 0, 10, 10, 1);
    state.control = Win32ProcessControl(logView);
    hook = SetWindowsHookExA(WH_CBT, OnWindowCreating, nullptr, GetCurrentThreadId());
    SetTimer(state.host, 1, 1, OnPollTimer);
    Pump(300);  // the first ticks take the baseline
  }

  void TearDown() override {
    KillTimer(state.host, 1);
    UnhookWindowsHookEx(hook);
    DestroyWindow(state.host);
    bench = nullptr;
  }

  static std::string BrowserPath(const char* name) {
    return PathBesideTest(std::string("browsers\\") + name);
  }

  // Dispatches messages (so the poll timer runs) for a while.
  static void Pump(DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
  }

  // Starts the stand-in browser with the child's path, pumps until it ends and returns its
  // exit code (the child's); -1 when it is still running after timeoutMs.
  int RunBrowser(const std::string& browser, DWORD timeoutMs = 60000) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + browser + "\" " + childPath;
    if (!CreateProcessA(browser.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
      return -2;
    }
    browserId = static_cast<int>(info.dwProcessId);
    DWORD code = static_cast<DWORD>(-1);
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
      DWORD woke = MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 50, QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &code);
        break;
      }
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    if (code == static_cast<DWORD>(-1)) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
  }

  // The verdict given for the child, -1 when it was never decided.
  int ChildVerdict() const {
    for (const Decision& d : state.decisions) {
      if (d.path == childPath) return d.verdict;
    }
    return -1;
  }

  LaunchBench state;
  HHOOK hook = nullptr;
  int browserId = 0;
  const std::string childPath = PathBesideTest("launch_child.exe");
};

TEST_F(LaunchDecision, AlertShowsTheChildAndAllowLetsItRun) {
  const DWORD mainThread = GetCurrentThreadId();
  AlertSeen seen;
  std::thread helper([&] {
    HWND alert = WaitForAlert(mainThread, 30000);
    if (!alert) return;
    seen = ReadAlert(alert);
    SendMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  });
  int exitCode = RunBrowser(BrowserPath("chrome.exe"));
  helper.join();

  ASSERT_TRUE(seen.found);
  EXPECT_EQ(exitCode, kRanToCompletion);
  EXPECT_EQ(ChildVerdict(), 1);
  EXPECT_GE(state.topLevelWindowsCreated, 1);  // the hook that proves "no window" elsewhere
  EXPECT_EQ(seen.caption, "拦截到 launch_child.exe 创建");
  EXPECT_EQ(seen.name, "launch_child.exe  [PID]：" + std::to_string(seen.processId));
  EXPECT_EQ(seen.path, childPath);
  EXPECT_EQ(seen.parent, "chrome.exe  [PID]：" + std::to_string(browserId));
  EXPECT_NE(seen.details.find("公司名称：北辰测试软件有限公司\r\n文件描述：测试安装程序\r\n文件版本：3.1.4.1"),
            std::string::npos)
      << seen.details;
  // The child's own icon, through 1.ico beside the program.
  EXPECT_EQ(ReadFileSharedForReading(PathBesideTest("1.ico")),
            ReadFileSharedForReading(PathBesideTest("sample_icon.ico")));
  EXPECT_TRUE(CloseColour(seen.iconPixels[0], SampleIconColour(8, 8))) << std::hex << seen.iconPixels[0];
  EXPECT_TRUE(CloseColour(seen.iconPixels[1], SampleIconColour(3, 12))) << std::hex << seen.iconPixels[1];
}

TEST_F(LaunchDecision, UntouchedAlertBlocksAfterItsCountdown) {
  const DWORD mainThread = GetCurrentThreadId();
  DWORD appearedAt = 0;
  std::thread helper([&] {
    if (WaitForAlert(mainThread, 30000)) appearedAt = GetTickCount();
  });
  int exitCode = RunBrowser(BrowserPath("chrome.exe"));
  DWORD endedAt = GetTickCount();
  helper.join();

  ASSERT_NE(appearedAt, 0u);
  EXPECT_EQ(exitCode, kTerminated);
  EXPECT_EQ(ChildVerdict(), 0);
  // Eleven countdown ticks, then the slide-out: not at once, and not much later.
  double seconds = (endedAt - appearedAt) / 1000.0;
  EXPECT_GE(seconds, 9.5);
  EXPECT_LE(seconds, 20.0);
}

struct WindowlessCase {
  const char* title;
  const char* browser;
  int workMode;
  bool listed;
  int expectedExitCode;
  int expectedVerdict;
};

class LaunchDecisionWithoutAlert : public LaunchDecision,
                                   public testing::WithParamInterface<WindowlessCase> {};

void PrintTo(const WindowlessCase& c, std::ostream* os) { *os << c.title; }

TEST_P(LaunchDecisionWithoutAlert, DecidesWithoutAnyWindow) {
  const WindowlessCase& c = GetParam();
  state.workMode = c.workMode;
  if (c.listed) {
    AppendLoadedEntry(state.whitelist, childPath, Md5Text(ReadFileSharedForReading(childPath)));
  }
  int exitCode = RunBrowser(BrowserPath(c.browser));

  EXPECT_EQ(exitCode, c.expectedExitCode);
  EXPECT_EQ(ChildVerdict(), c.expectedVerdict);
  EXPECT_EQ(state.topLevelWindowsCreated, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchDecisionWithoutAlert,
    testing::Values(WindowlessCase{"StrictBlocksAtOnce", "chrome.exe", 1, false, kTerminated, 0},
                    WindowlessCase{"ListedRunsInNormalMode", "chrome.exe", 0, true, kRanToCompletion, 1},
                    WindowlessCase{"ListedRunsInStrictMode", "chrome.exe", 1, true, kRanToCompletion, 1},
                    WindowlessCase{"NonBrowserParentRuns", "firefox.exe", 1, false, kRanToCompletion, 1}),
    [](const testing::TestParamInfo<WindowlessCase>& info) { return std::string(info.param.title); });

}  // namespace
