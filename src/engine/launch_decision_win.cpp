#include "launch_decision.h"

#include <windows.h>

#include "alert_window.h"
#include "fingerprint_lookups_win.h"
#include "icon_extraction_win.h"
#include "launch_rule.h"
#include "md5.h"
#include "process_lookups.h"
#include "run_directory.h"

namespace {

// In 100 ns units since 1601; -1 when the process cannot be opened.
int64_t ProcessCreationTime(int processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                               static_cast<DWORD>(processId));
  if (!process) return -1;
  FILETIME created, exited, kernel, user;
  bool ok = GetProcessTimes(process, &created, &exited, &kernel, &user);
  CloseHandle(process);
  if (!ok) return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(created.dwHighDateTime) << 32) |
                              created.dwLowDateTime);
}

int32_t FileSizeForRule(const std::string& path) {
  long long size = LookUpFileSize(path);
  return size < 0 ? -1 : ClampFileSize(static_cast<uint64_t>(size));
}

// The alert is loaded first, so that it is on its way while the icon is extracted; nothing
// here pumps messages until it is filled.
int AskUser(const LaunchAlertTexts& texts) {
  HWND alert = LoadAlertWindow();
  if (!alert) return 0;
  AlertContent content;
  content.caption = texts.caption;
  content.processLabel = texts.processLabel;
  content.path = texts.pathBox;
  content.parent = texts.parentBox;
  content.iconBytes = ExtractAlertIcon(texts.executablePath, RunDirectory() + "\\1.ico");
  content.details = texts.details;
  FillAlertWindow(alert, content);
  PumpUntilAlertGone(alert);
  return StoredAlertVerdict();
}

}  // namespace

int DecideLaunch(int processId, const std::string& path, const LaunchInputs& inputs) {
  LaunchLookups lookups;
  lookups.processName = ProcessNameById;
  lookups.parentId = ParentProcessId;
  lookups.creationTime = ProcessCreationTime;
  lookups.fileSize = FileSizeForRule;
  lookups.readWholeFile = ReadFileSharedForReading;
  lookups.md5Text = [](const std::string& bytes) { return Md5Text(bytes); };
  lookups.isWhitelisted = [&inputs](const std::string& md5) {
    return IsWhitelisted(inputs.whitelist, md5);
  };
  lookups.workMode = [&inputs] { return inputs.workMode; };
  lookups.versionFields = [&inputs] { return inputs.versionFields; };
  lookups.askUser = AskUser;
  return DecideLaunchWith(lookups, processId, path);
}
