#include "process_watcher.h"

#include <algorithm>

namespace {

// The image path of a new process becomes readable a little after its creation.
constexpr int kImagePathTries = 80;

// Fills state.snapshot with every id the system reports and gives their number; false when
// the enumeration failed. A full buffer may have cut the list short, so it is doubled and
// the enumeration asked again; the grown buffer is kept for the following ticks.
bool TakeSnapshot(WatcherState& state, const ProcessControl& ops, std::size_t& count) {
  if (state.snapshot.size() < kInitialSnapshotSlots) state.snapshot.resize(kInitialSnapshotSlots);
  for (;;) {
    std::size_t written = 0;
    if (!ops.enumerateProcessIds(state.snapshot.data(), state.snapshot.size(), written)) {
      return false;
    }
    if (written < state.snapshot.size()) {
      count = written;
      return true;
    }
    state.snapshot.resize(state.snapshot.size() * 2);
  }
}

bool IsKnown(const WatcherState& state, std::uint32_t processId) {
  return std::binary_search(state.baseline.begin(), state.baseline.end(), processId);
}

// The first count ids of the snapshot become the ids known to the next tick.
void KeepAsBaseline(WatcherState& state, std::size_t count) {
  state.baseline.assign(state.snapshot.begin(), state.snapshot.begin() + count);
  std::sort(state.baseline.begin(), state.baseline.end());
}

// After a block the ids from first on are not examined in this tick. The new ones among them
// are moved out of the coming baseline, so that the next tick examines them; otherwise a
// page starting two programs at once would get the second past the guard. Gives the number
// of ids that stay.
std::size_t DropUnexaminedNewIds(WatcherState& state, std::size_t first, std::size_t count) {
  std::size_t kept = first;
  for (std::size_t i = first; i < count; ++i) {
    if (IsKnown(state, state.snapshot[i])) state.snapshot[kept++] = state.snapshot[i];
  }
  return kept;
}

}  // namespace

bool HandleNewProcess(WatcherState& state, const ProcessControl& ops, const DecideRoutine& decide,
                      int processId) {
  ProcessHandle handle = nullptr;
  if (ops.openProcess(processId, handle) != 0) return true;  // gone, refused or protected

  std::string path;
  for (int i = 0; i < kImagePathTries && path.empty(); ++i) {
    ops.sleepOneMillisecond();
    path = ops.imagePathById(processId);
  }
  ops.suspendProcess(handle);
  state.CurrentVersionFields = ops.readVersionFields(path);

  if (decide(processId, path) != 0) {
    ops.resumeProcess(handle);
    state.LastEvent = 1;
    ops.appendLogRow(processId, path, LogAction::Allowed, state.CurrentVersionFields);
    ops.closeHandle(handle);
    return true;
  }
  state.LastEvent = -1;
  // The row is written while the process still exists, so its names can be looked up.
  ops.appendLogRow(processId, path, LogAction::Blocked, state.CurrentVersionFields);
  ops.terminateProcess(handle);
  ops.closeHandle(handle);
  return false;
}

void WatchProcesses(WatcherState& state, const ProcessControl& ops, const DecideRoutine& decide) {
  if (state.WatcherBusy != 0) return;  // a tick from inside a pending decision
  state.WatcherBusy = 1;

  std::size_t count = 0;
  if (state.baseline.empty()) {
    ops.enableDebugPrivilege();
    if (!TakeSnapshot(state, ops, count)) {
      state.WatcherBusy = 0;
      return;
    }
    KeepAsBaseline(state, count);
  }
  if (!TakeSnapshot(state, ops, count)) {
    state.WatcherBusy = 0;
    return;
  }

  std::size_t kept = count;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t processId = state.snapshot[i];
    if (IsKnown(state, processId)) continue;
    if (!HandleNewProcess(state, ops, decide, static_cast<int>(processId))) {
      kept = DropUnexaminedNewIds(state, i + 1, count);
      break;
    }
  }
  KeepAsBaseline(state, kept);
  state.WatcherBusy = 0;
}
