// The one application state of the process, touched only on the GUI thread.
#pragma once

#include <windows.h>

#include "process_watcher.h"
#include "whitelist.h"

struct AppState {
  Whitelist whitelist;
  // 0 normal (ask the user), 1 strict (block without asking); normal after every start.
  int CurrentWorkMode = 0;
  WatcherState watcher;
  ProcessControl processControl;
  HWND mainWindow = nullptr;
  HWND logView = nullptr;
};

AppState& App();
