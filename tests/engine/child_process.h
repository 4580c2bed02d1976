// Starts a fixture program from the test's own folder and ends it when it goes out of scope.
#pragma once

#include <windows.h>

#include <string>

struct ChildProcess {
  PROCESS_INFORMATION info{};
  std::string path;

  explicit ChildProcess(const std::string& exeName);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  int id() const { return static_cast<int>(info.dwProcessId); }
  void End();  // terminates it and waits until it is gone
};

// Full path of a file beside the running test executable.
std::string PathBesideTest(const std::string& fileName);
