#include "child_process.h"

std::string PathBesideTest(const std::string& fileName) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  return dir.substr(0, dir.find_last_of('\\') + 1) + fileName;
}

ChildProcess::ChildProcess(const std::string& exeName) : path(PathBesideTest(exeName)) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + path + "\"";
  CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                 &startup, &info);
}

void ChildProcess::End() {
  if (!info.hProcess) return;
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  info = {};
}

ChildProcess::~ChildProcess() { End(); }
