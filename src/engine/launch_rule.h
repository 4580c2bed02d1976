// The rule that gives the verdict for one new, suspended process. Everything it needs from
// the system comes in through LaunchLookups, so the rule itself is plain C++ and the Win32
// glue (launch_decision.h) only wires the real look-ups in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "version_fields.h"
#include "whitelist.h"  // MaxWhitelistFileSize

// What the alert is given, in the order it is filled in. The icon is not here: the glue
// extracts it from executablePath once the alert exists.
struct LaunchAlertTexts {
  std::string caption;
  std::string processLabel;
  std::string pathBox;
  std::string parentBox;
  std::string details;
  std::string executablePath;  // the path as received, possibly empty
};

struct LaunchLookups {
  std::function<std::string(int processId)> processName;  // empty when not found
  std::function<int(int processId)> parentId;             // -1 when not found
  // When the process was created, in any unit that grows with time; -1 when unknown.
  std::function<int64_t(int processId)> creationTime;
  // Size as the directory entry gives it; -1 when not found, files of 2 GiB or more give
  // a value at or above the limit (see ClampFileSize).
  std::function<int32_t(const std::string& path)> fileSize;
  std::function<std::string(const std::string& path)> readWholeFile;  // empty when unreadable
  std::function<std::string(const std::string& bytes)> md5Text;
  std::function<bool(const std::string& md5)> isWhitelisted;
  std::function<int()> workMode;  // read once, after the whitelist
  std::function<VersionFields()> versionFields;
  // Shows the alert and waits for the answer: 1 allow, 0 block.
  std::function<int(const LaunchAlertTexts& texts)> askUser;
};

// 1 allow, 0 block.
int DecideLaunchWith(const LaunchLookups& lookups, int processId, const std::string& path);

// A 64-bit file size as the rule reads it: sizes that do not fit a signed 32-bit number
// become INT32_MAX instead of wrapping to a small (or negative) number.
int32_t ClampFileSize(uint64_t size);
