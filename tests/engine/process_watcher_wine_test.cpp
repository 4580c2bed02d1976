// The poll tick with the real process calls: children of this test are found, held suspended
// while the decision runs, then resumed or terminated, and each gets its row in a log view.
// The prefix's own processes (services, explorer) may show up too; they are allowed and left
// out of the checks.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "child_process.h"
#include "log_view.h"
#include "process_control_win.h"
#include "text_rules.h"

namespace {

constexpr LONG kBeats = 300;

// A child counting beats into a counter shared with this test.
struct BeatingChild {
  HANDLE mapping = nullptr;
  volatile LONG* beats = nullptr;
  PROCESS_INFORMATION info{};
};

BeatingChild StartBeatingChild(const std::string& beatsName) {
  BeatingChild child;
  child.mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                     beatsName.c_str());
  child.beats = static_cast<volatile LONG*>(
      MapViewOfFile(child.mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
  const std::string path = PathBesideTest("watcher_child.exe");
  std::string commandLine = "\"" + path + "\" " + beatsName + " " + std::to_string(kBeats);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                 &startup, &child.info);
  return child;
}

struct ChildEnd {
  DWORD exitCode;
  LONG beats;
};

// Waits for the child's end (ending it after ten seconds) and releases what it held.
ChildEnd EndBeatingChild(BeatingChild& child) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(child.info.hProcess, 10000) == WAIT_TIMEOUT) {
    TerminateProcess(child.info.hProcess, 99);
    WaitForSingleObject(child.info.hProcess, 10000);
  } else {
    GetExitCodeProcess(child.info.hProcess, &code);
  }
  const ChildEnd end = {code, *child.beats};
  CloseHandle(child.info.hThread);
  CloseHandle(child.info.hProcess);
  UnmapViewOfFile(const_cast<LONG*>(child.beats));
  CloseHandle(child.mapping);
  return end;
}

std::string BeatsName(int n) {
  return "KorvaneWatcherBeats" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n);
}

// What the decision saw of one child of this test.
struct Decision {
  int order = 0;  // 1 for the first child decided
  std::string path;
  LONG beatsAtStart = -1;
  LONG beatsAtEnd = -1;
  bool running = false;
};

struct Row {
  std::string name, path, action;
};

// The rows whose path is that of the given process.
std::vector<Row> RowsWithPath(HWND view, const std::string& path) {
  std::vector<Row> rows;
  const int count = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    if (ReadLogCellText(view, row, 2) == path) {
      rows.push_back({ReadLogCellText(view, row, 1), ReadLogCellText(view, row, 2),
                      ReadLogCellText(view, row, 3)});
    }
  }
  return rows;
}

struct WatcherBench : ::testing::Test {
  HWND host = CreateWindowExA(0, "STATIC", "watcher", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                              300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND view = CreateLogView(host, 10, 10, 600, 240, 101);
  WatcherState state;
  ProcessControl ops = Win32ProcessControl(view);
  std::map<DWORD, BeatingChild*> children;  // by process id
  std::map<DWORD, Decision> decisions;
  std::function<int(int order)> verdictFor = [](int) { return 1; };
  DecideRoutine decide = [this](int processId, const std::string& path) {
    const auto child = children.find(static_cast<DWORD>(processId));
    if (child == children.end()) return 1;
    Decision& d = decisions[child->first];
    d.order = static_cast<int>(decisions.size());
    d.path = path;
    // A suspended child counts no beats while the decision takes its time.
    d.beatsAtStart = *child->second->beats;
    Sleep(200);
    d.beatsAtEnd = *child->second->beats;
    d.running = WaitForSingleObject(child->second->info.hProcess, 0) == WAIT_TIMEOUT;
    return verdictFor(d.order);
  };

  ~WatcherBench() override { DestroyWindow(host); }

  // Ticks as the poll timer would until every child of the test has been decided.
  bool TickUntilAllDecided() {
    for (int i = 0; i < 5000 && decisions.size() < children.size(); ++i) {
      WatchProcesses(state, ops, decide);
      Sleep(1);
    }
    return decisions.size() == children.size();
  }
};

struct VerdictCase {
  const char* name;
  int verdict;
  DWORD exitCode;
  bool runsToTheEnd;
  const char* action;
  int lastEvent;
};

const VerdictCase kVerdictCases[] = {
    {"allowed", 1, 7, true, "放行", 1},
    {"blocked", 0, 0, false, "拦截", -1},
};

TEST_F(WatcherBench, ChildIsHeldSuspendedDuringTheDecisionThenResumedOrEnded) {
  ASSERT_NE(view, nullptr);
  WatchProcesses(state, ops, decide);  // the baseline
  int n = 0;
  for (const VerdictCase& c : kVerdictCases) {
    SCOPED_TRACE(c.name);
    verdictFor = [&c](int) { return c.verdict; };
    children.clear();
    decisions.clear();
    BeatingChild child = StartBeatingChild(BeatsName(++n));
    ASSERT_NE(child.info.hProcess, nullptr);
    const DWORD id = child.info.dwProcessId;
    children[id] = &child;

    const bool decided = TickUntilAllDecided();
    const ChildEnd end = EndBeatingChild(child);
    ASSERT_TRUE(decided);
    const Decision& d = decisions[id];
    EXPECT_TRUE(d.running);
    EXPECT_EQ(d.beatsAtStart, d.beatsAtEnd) << "the child ran on during its decision";
    EXPECT_TRUE(EqualsIgnoreCase(d.path, PathBesideTest("watcher_child.exe"))) << d.path;
    EXPECT_EQ(end.exitCode, c.exitCode);
    EXPECT_EQ(end.beats == kBeats, c.runsToTheEnd) << end.beats << " beats";
    EXPECT_EQ(state.LastEvent, c.lastEvent);

    const std::vector<Row> rows = RowsWithPath(view, d.path);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(n)) << "one row per child so far";
    EXPECT_EQ(rows.back().action, c.action);
    EXPECT_EQ(rows.back().name, "watcher_child.exe");
  }
}

// A page starting two programs at once: blocking the first must not let the second pass.
TEST_F(WatcherBench, SecondOfTwoStartedTogetherIsDecidedAfterTheFirstIsBlocked) {
  ASSERT_NE(view, nullptr);
  WatchProcesses(state, ops, decide);  // the baseline; no tick until both exist
  verdictFor = [](int order) { return order == 1 ? 0 : 1; };
  BeatingChild first = StartBeatingChild(BeatsName(1));
  BeatingChild second = StartBeatingChild(BeatsName(2));
  ASSERT_NE(first.info.hProcess, nullptr);
  ASSERT_NE(second.info.hProcess, nullptr);
  children[first.info.dwProcessId] = &first;
  children[second.info.dwProcessId] = &second;

  const bool decided = TickUntilAllDecided();
  const DWORD firstId = first.info.dwProcessId;
  const DWORD secondId = second.info.dwProcessId;
  const std::map<DWORD, DWORD> exitCodes = {{firstId, EndBeatingChild(first).exitCode},
                                            {secondId, EndBeatingChild(second).exitCode}};
  ASSERT_TRUE(decided) << decisions.size() << " of 2 decided";
  for (const auto& [id, d] : decisions) {
    SCOPED_TRACE(d.order);
    EXPECT_EQ(d.beatsAtStart, d.beatsAtEnd) << "the child ran on during its decision";
    EXPECT_EQ(exitCodes.at(id), d.order == 1 ? 0u : 7u);
  }
  const std::vector<Row> rows = RowsWithPath(view, decisions.begin()->second.path);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].action, "拦截");
  EXPECT_EQ(rows[1].action, "放行");
}

}  // namespace
