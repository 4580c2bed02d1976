// Measures the poll tick with the real process calls, at 20, 100 and 300 running processes:
// the cost of a tick that finds nothing new, and for 50 processes started one at a time the
// time from CreateProcess returning to the process being suspended. The same figures are
// taken, in the same run, for the earlier tick (256 slots, linear search), kept here only as
// the yardstick.
//
//   watcher_bench [TICKS]     TICKS: quiet ticks measured per algorithm and count (300)
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "process_control_win.h"

namespace {

constexpr int kProcessCounts[] = {20, 100, 300};
constexpr int kNewProcesses = 50;
constexpr DWORD kMissedAfterMs = 1000;  // a process not suspended by then counts as missed
constexpr DWORD kGapBetweenStartsMs = 60;

// ---- the earlier tick: fixed 256 slots, linear search, every id of a block tick kept ----

constexpr int kPlainSlots = 256;

struct PlainState {
  WatcherState common;  // busy flag, last event, version fields
  std::uint32_t baseline[kPlainSlots] = {};
  int baselineCount = 0;
};

bool PlainSnapshot(const ProcessControl& ops, std::uint32_t (&ids)[kPlainSlots], int& count) {
  std::size_t written = 0;
  if (!ops.enumerateProcessIds(ids, kPlainSlots, written)) return false;
  count = static_cast<int>(written);
  return true;
}

void PlainWatchProcesses(PlainState& state, const ProcessControl& ops, const DecideRoutine& decide) {
  WatcherState& common = state.common;
  if (common.WatcherBusy) return;
  common.WatcherBusy = 1;
  if (state.baselineCount == 0) {
    ops.enableDebugPrivilege();
    if (!PlainSnapshot(ops, state.baseline, state.baselineCount)) {
      common.WatcherBusy = 0;
      return;
    }
  }
  std::uint32_t current[kPlainSlots] = {};
  int count = 0;
  if (!PlainSnapshot(ops, current, count)) {
    common.WatcherBusy = 0;
    return;
  }
  for (int i = 0; i < count; ++i) {
    bool known = false;
    for (int j = 0; j < state.baselineCount && !known; ++j) known = state.baseline[j] == current[i];
    if (known) continue;
    if (!HandleNewProcess(common, ops, decide, static_cast<int>(current[i]))) break;
  }
  std::copy(current, current + kPlainSlots, state.baseline);
  state.baselineCount = count;
  common.WatcherBusy = 0;
}

// ---- the two algorithms behind one tick ----

enum Algorithm { kMended, kPlain };

struct Watchers {
  WatcherState mended;
  PlainState plain;
};

void Tick(Algorithm algorithm, Watchers& watchers, const ProcessControl& ops,
          const DecideRoutine& decide) {
  if (algorithm == kMended) {
    WatchProcesses(watchers.mended, ops, decide);
  } else {
    PlainWatchProcesses(watchers.plain, ops, decide);
  }
}

// ---- clock and figures ----

double NowMicroseconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / frequency;
}

std::uint64_t FileTimeValue(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Nearest-rank percentile; -1 when there are no values.
double Percentile(std::vector<double> values, double percent) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  std::size_t rank = static_cast<std::size_t>(percent / 100.0 * values.size() + 0.999999);
  rank = std::clamp<std::size_t>(rank, 1, values.size());
  return values[rank - 1];
}

std::string FigureText(double value, int decimals = 1) {
  if (value < 0) return "n/a";  // nothing was measured
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void PrintFigure(int processes, const char* figure, double mended, double plain) {
  const std::string ratio = mended > 0 && plain >= 0 ? FigureText(plain / mended, 2) : "-";
  std::printf("%9d  %-36s %10s %10s %10s\n", processes, figure, FigureText(mended).c_str(),
              FigureText(plain).c_str(), ratio.c_str());
}

void PrintCount(int processes, const char* figure, int mended, int plain) {
  std::printf("%9d  %-36s %10d %10d %10s\n", processes, figure, mended, plain, "-");
}

// ---- processes ----

std::string ChildPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  return dir.substr(0, dir.find_last_of('\\') + 1) + "watcher_child.exe";
}

PROCESS_INFORMATION StartIdleChild() {
  static const std::string path = ChildPath();
  std::string commandLine = "\"" + path + "\" idle";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    std::fprintf(stderr, "watcher_bench: cannot start %s (%lu)\n", path.c_str(), GetLastError());
    std::exit(2);
  }
  return info;
}

void EndChild(PROCESS_INFORMATION& info) {
  TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  info = {};
}

int RunningProcessCount() {
  std::vector<DWORD> ids(8192);
  DWORD bytes = 0;
  EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes);
  return static_cast<int>(bytes / sizeof(DWORD));
}

// Idle children started until the system runs the given number of processes.
void FillUpTo(int processes, std::vector<PROCESS_INFORMATION>& idle) {
  while (RunningProcessCount() < processes) idle.push_back(StartIdleChild());
  // Let them finish starting, so that they look like long-running processes.
  Sleep(500);
}

// ---- quiet ticks ----

// Median and 99th percentile of quiet ticks of both algorithms, interleaved so that both see
// the same system.
void MeasureQuietTicks(int processes, const char* label, int ticks, const ProcessControl& ops) {
  Watchers watchers;
  const DecideRoutine allow = [](int, const std::string&) { return 1; };
  Tick(kMended, watchers, ops, allow);
  Tick(kPlain, watchers, ops, allow);
  std::vector<double> cost[2];
  for (int i = 0; i < ticks; ++i) {
    for (Algorithm algorithm : {kMended, kPlain}) {
      const double start = NowMicroseconds();
      Tick(algorithm, watchers, ops, allow);
      cost[algorithm].push_back(NowMicroseconds() - start);
    }
  }
  const std::string median = std::string(label) + " median (us)";
  const std::string p99 = std::string(label) + " p99 (us)";
  PrintFigure(processes, median.c_str(), Percentile(cost[kMended], 50), Percentile(cost[kPlain], 50));
  PrintFigure(processes, p99.c_str(), Percentile(cost[kMended], 99), Percentile(cost[kPlain], 99));
}

// The same ticks over a recorded list of ids: the comparison alone, without the system's
// enumeration, which dominates the real tick under Wine.
void MeasureReplayedTicks(int processes, int ticks, const ProcessControl& base) {
  std::vector<std::uint32_t> recorded(8192);
  std::size_t count = 0;
  base.enumerateProcessIds(recorded.data(), recorded.size(), count);
  recorded.resize(count);
  ProcessControl ops = base;
  ops.enumerateProcessIds = [&recorded](std::uint32_t* ids, std::size_t capacity,
                                        std::size_t& written) {
    written = std::min(recorded.size(), capacity);
    std::copy(recorded.begin(), recorded.begin() + written, ids);
    return true;
  };
  MeasureQuietTicks(processes, "quiet tick, ids replayed", ticks, ops);
}

// ---- detection of new processes ----

// What the launcher and the watcher write down about the processes being started.
struct Detection {
  std::mutex lock;
  std::map<DWORD, double> started;       // CreateProcess returned, us
  std::map<DWORD, double> suspended;     // the suspension returned, us
  std::map<DWORD, double> ranBefore;     // since the process's creation time, us
  HANDLE handled = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  int openedId = 0;
};

struct LaunchRun {
  Detection* detection;
  DWORD watcherThread;
};

DWORD WINAPI LaunchOneAtATime(void* argument) {
  LaunchRun& run = *static_cast<LaunchRun*>(argument);
  Detection& d = *run.detection;
  for (int i = 0; i < kNewProcesses; ++i) {
    PROCESS_INFORMATION info = StartIdleChild();
    const double started = NowMicroseconds();
    {
      std::lock_guard<std::mutex> hold(d.lock);
      d.started[info.dwProcessId] = started;
    }
    // The watcher blocks it; one that is never caught is ended here.
    if (WaitForSingleObject(d.handled, kMissedAfterMs) == WAIT_TIMEOUT) {
      TerminateProcess(info.hProcess, 1);
    }
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    Sleep(kGapBetweenStartsMs);
  }
  PostThreadMessageA(run.watcherThread, WM_QUIT, 0, 0);
  return 0;
}

struct DetectionFigures {
  std::vector<double> latencyMs, ranMs;
  int missed = 0;
};

// Runs one algorithm on the poll timer, as the main window does, while another thread starts
// the new processes one at a time; each child of the launcher is blocked.
DetectionFigures MeasureDetection(Algorithm algorithm, const ProcessControl& base) {
  Detection d;
  ProcessControl ops = base;
  ops.openProcess = [&d, &base](int processId, ProcessHandle& handle) {
    d.openedId = processId;
    return base.openProcess(processId, handle);
  };
  ops.suspendProcess = [&d, &base](ProcessHandle handle) {
    base.suspendProcess(handle);
    const double now = NowMicroseconds();
    FILETIME wall, created, ended, kernel, user;
    GetSystemTimeAsFileTime(&wall);
    const bool times = GetProcessTimes(static_cast<HANDLE>(handle), &created, &ended, &kernel, &user);
    std::lock_guard<std::mutex> hold(d.lock);
    d.suspended[static_cast<DWORD>(d.openedId)] = now;
    if (times) {
      d.ranBefore[static_cast<DWORD>(d.openedId)] =
          static_cast<double>(FileTimeValue(wall) - FileTimeValue(created)) / 10.0;
    }
  };
  const DecideRoutine decide = [&d](int processId, const std::string&) {
    std::lock_guard<std::mutex> hold(d.lock);
    if (!d.started.count(static_cast<DWORD>(processId))) return 1;  // not one of ours
    SetEvent(d.handled);
    return 0;
  };

  Watchers watchers;
  Tick(algorithm, watchers, ops, decide);
  LaunchRun run{&d, GetCurrentThreadId()};
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, nullptr);
  HANDLE launcher = CreateThread(nullptr, 0, LaunchOneAtATime, &run, 0, nullptr);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) Tick(algorithm, watchers, ops, decide);
  }
  KillTimer(nullptr, timer);
  WaitForSingleObject(launcher, INFINITE);
  CloseHandle(launcher);
  CloseHandle(d.handled);

  DetectionFigures figures;
  for (const auto& [id, started] : d.started) {
    const auto suspended = d.suspended.find(id);
    if (suspended == d.suspended.end()) {
      ++figures.missed;
      continue;
    }
    figures.latencyMs.push_back((suspended->second - started) / 1000.0);
    const auto ran = d.ranBefore.find(id);
    if (ran != d.ranBefore.end()) figures.ranMs.push_back(ran->second / 1000.0);
  }
  return figures;
}

void MeasureNewProcesses(int processes, const ProcessControl& ops) {
  const DetectionFigures mended = MeasureDetection(kMended, ops);
  const DetectionFigures plain = MeasureDetection(kPlain, ops);
  PrintFigure(processes, "detection latency median (ms)", Percentile(mended.latencyMs, 50),
              Percentile(plain.latencyMs, 50));
  PrintFigure(processes, "detection latency p99 (ms)", Percentile(mended.latencyMs, 99),
              Percentile(plain.latencyMs, 99));
  PrintFigure(processes, "ran before suspension median (ms)", Percentile(mended.ranMs, 50),
              Percentile(plain.ranMs, 50));
  PrintFigure(processes, "ran before suspension p99 (ms)", Percentile(mended.ranMs, 99),
              Percentile(plain.ranMs, 99));
  PrintCount(processes, "never suspended (of 50)", mended.missed, plain.missed);
}

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  ProcessControl ops = Win32ProcessControl(nullptr);
  ops.appendLogRow = [](int, const std::string&, LogAction, const VersionFields&) {};

  std::printf("Poll tick under Wine: mended (grown snapshot, sorted ids) vs plain (256 slots,\n"
              "linear search); both wait for the image path, then suspend. %d quiet ticks,\n"
              "%d new processes started one at a time, each blocked. Ratio = plain / mended.\n\n",
              ticks, kNewProcesses);
  std::printf("%9s  %-36s %10s %10s %10s\n", "processes", "figure", "mended", "plain", "ratio");
  std::fflush(stdout);

  std::vector<PROCESS_INFORMATION> idle;
  for (int processes : kProcessCounts) {
    FillUpTo(processes, idle);
    const int running = RunningProcessCount();
    MeasureQuietTicks(running, "quiet tick", ticks, ops);
    MeasureReplayedTicks(running, ticks, ops);
    MeasureNewProcesses(running, ops);
    std::fflush(stdout);
  }
  for (PROCESS_INFORMATION& info : idle) EndChild(info);
  return 0;
}
