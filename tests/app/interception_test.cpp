// korvane.exe itself, started in a folder of its own: it questions the child of a stand-in
// browser in its alert and lets it run on "放行", runs a whitelisted child without asking,
// and writes its whitelist back to list.db when its window is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "alert_controls.h"
#include "child_process.h"
#include "fingerprint_lookups_win.h"
#include "md5.h"
#include "whitelist_file_win.h"

namespace {

constexpr int kRanToCompletion = 7;  // launch_child.exe's exit code when it was not stopped
constexpr char kAlertCaption[] = "拦截到 setup.exe 创建";

struct Started {
  PROCESS_INFORMATION info{};
  ~Started() {
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  // The exit code, or -1 when it is still running after timeoutMs.
  int WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<int>(code);
  }
};

bool Start(Started& process, const std::string& exe, const std::string& arguments,
           const std::string& directory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exe + "\" " + arguments;
  return CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process.info);
}

HWND WindowOfProcess(const char* windowClass, const char* title, DWORD processId) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, windowClass, title));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

class KorvaneInterception : public testing::Test {
 protected:
  void SetUp() override {
    SetCursorPos(0, 0);  // away from the alert: its countdown must not be stopped by the mouse
    CreateDirectoryA(dir.c_str(), nullptr);
    DeleteFileA(InDir("list.db").c_str());
    DeleteFileA(InDir("1.ico").c_str());
    ASSERT_TRUE(CopyFileA(PathBesideTest("..\\korvane.exe").c_str(), InDir("korvane.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(PathBesideTest("launch_parent.exe").c_str(), InDir("chrome.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(PathBesideTest("launch_child.exe").c_str(), InDir("setup.exe").c_str(), FALSE));
  }

  std::string InDir(const std::string& name) const { return dir + "\\" + name; }

  // Starts korvane.exe and waits until its window exists and its first ticks have run.
  void StartKorvane() {
    ASSERT_TRUE(Start(korvane, InDir("korvane.exe"), "", dir));
    for (int i = 0; i < 1000 && !mainWindow; ++i, Sleep(10)) {
      mainWindow = WindowOfProcess("KorvaneMainWindow", nullptr, korvane.info.dwProcessId);
    }
    ASSERT_NE(mainWindow, nullptr);
    Sleep(500);
  }

  // Closes the main window the way the user does and gives korvane.exe's exit code.
  int CloseKorvane() {
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    return korvane.WaitForExit(10000);
  }

  void StartBrowser() { ASSERT_TRUE(Start(browser, InDir("chrome.exe"), InDir("setup.exe"), dir)); }

  const std::string dir = PathBesideTest("korvane_run");
  Started korvane, browser;
  HWND mainWindow = nullptr;
};

}  // namespace

TEST_F(KorvaneInterception, AsksAboutABrowserChildAndLetsItRunOnAllow) {
  StartKorvane();
  StartBrowser();
  HWND alert = nullptr;
  for (int i = 0; i < 1500 && !alert; ++i, Sleep(10)) {
    alert = WindowOfProcess(nullptr, kAlertCaption, korvane.info.dwProcessId);
  }
  ASSERT_NE(alert, nullptr) << "no alert from korvane.exe";
  EXPECT_NE(GetFileAttributesA(InDir("1.ico").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(browser.WaitForExit(0), -1);  // the child is held while the alert waits

  PostMessageA(GetDlgItem(alert, kAlertAllowId), BM_CLICK, 0, 0);
  EXPECT_EQ(browser.WaitForExit(15000), kRanToCompletion);
  EXPECT_EQ(CloseKorvane(), 0);
  // Closing saves the whitelist; an empty one is a 0-byte list.db.
  EXPECT_EQ(GetFileAttributesA(InDir("list.db").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadFileSharedForReading(InDir("list.db")), "");
}

TEST_F(KorvaneInterception, RunsAWhitelistedChildWithoutAskingAndKeepsTheList) {
  Whitelist list;
  AppendLoadedEntry(list, InDir("setup.exe"), Md5Text(ReadFileSharedForReading(InDir("setup.exe"))));
  ASSERT_TRUE(SaveWhitelist(dir, list));
  const std::string saved = ReadFileSharedForReading(InDir("list.db"));
  ASSERT_FALSE(saved.empty());

  StartKorvane();
  StartBrowser();
  bool alertSeen = false;
  int exitCode = -1;
  for (int i = 0; i < 1500 && exitCode == -1; ++i) {
    alertSeen |= WindowOfProcess(nullptr, kAlertCaption, korvane.info.dwProcessId) != nullptr;
    exitCode = browser.WaitForExit(10);
  }
  EXPECT_EQ(exitCode, kRanToCompletion);
  EXPECT_FALSE(alertSeen);
  EXPECT_EQ(CloseKorvane(), 0);
  EXPECT_EQ(ReadFileSharedForReading(InDir("list.db")), saved);  // loaded at start, saved at close
}
