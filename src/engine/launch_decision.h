// DecideLaunch over the real system: process look-ups, the executable's file, the
// whitelist, the work mode and the alert window.
#pragma once

#include <string>

#include "version_fields.h"
#include "whitelist.h"

// What the decision reads from the application state. Held by reference: the work mode is
// read when the rule gets to it, not when the record is made.
struct LaunchInputs {
  const int& workMode;                  // 1 strict, anything else normal
  const Whitelist& whitelist;
  const VersionFields& versionFields;   // the watcher's CurrentVersionFields
};

// 1 allow, 0 block. Asking the user pumps the thread's messages until the alert is gone;
// an alert that cannot be created counts as block.
int DecideLaunch(int processId, const std::string& path, const LaunchInputs& inputs);
