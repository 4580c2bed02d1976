// The poll tick: finds the processes that started since the previous tick, holds each one
// suspended while the decision routine judges it, then resumes or terminates it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "log_record.h"
#include "version_fields.h"

using ProcessHandle = void*;

// The platform actions and look-ups the tick needs; the Win32 instance is in
// process_control_win.h, tests pass scripted ones.
struct ProcessControl {
  // Debug privilege for the process token; the result does not matter.
  std::function<void()> enableDebugPrivilege;
  // Writes up to capacity ids into ids and their number into written; false when the
  // enumeration failed. written == capacity means the list may have been cut short.
  std::function<bool(std::uint32_t* ids, std::size_t capacity, std::size_t& written)>
      enumerateProcessIds;
  // Status 0 and a handle with full access on success.
  std::function<long(int processId, ProcessHandle& handle)> openProcess;
  std::function<void(ProcessHandle)> suspendProcess;
  std::function<void(ProcessHandle)> resumeProcess;
  // Ends the process with exit status 0.
  std::function<void(ProcessHandle)> terminateProcess;
  std::function<void(ProcessHandle)> closeHandle;
  // A plain 1 ms wait that pumps no messages.
  std::function<void()> sleepOneMillisecond;
  std::function<std::string(int processId)> imagePathById;
  std::function<VersionFields(const std::string& path)> readVersionFields;
  std::function<void(int processId, const std::string& path, LogAction action,
                     const VersionFields& fields)>
      appendLogRow;
};

// Non-zero allows the process, zero blocks it. May pump window messages for a long time.
using DecideRoutine = std::function<int(int processId, const std::string& path)>;

struct WatcherState {
  // 1 while a tick runs: ticks arriving from inside the decision return at once.
  int WatcherBusy = 0;
  // 0 until a process is handled, then 1 (last allowed) or -1 (last blocked).
  int LastEvent = 0;
  // Version fields of the process being decided; in place before the decision is asked.
  VersionFields CurrentVersionFields;
  // Ids known at the end of the previous tick, sorted; empty until an enumeration succeeded.
  std::vector<std::uint32_t> baseline;
  // Enumeration buffer; grows when the system fills it and is kept at its largest size.
  std::vector<std::uint32_t> snapshot;
};

// Room for 256 ids until the system shows more.
constexpr std::size_t kInitialSnapshotSlots = 256;

// One poll tick.
void WatchProcesses(WatcherState& state, const ProcessControl& ops, const DecideRoutine& decide);

// Opens, suspends and judges one new process, then carries out the verdict: the tick's work for
// one id. False when the process was blocked. A process that cannot be opened is skipped.
bool HandleNewProcess(WatcherState& state, const ProcessControl& ops, const DecideRoutine& decide,
                      int processId);
