// Stands in for a browser (the tests copy it as chrome.exe or firefox.exe): starts the
// program named on its command line, waits for it and ends with its exit code. Exit 100
// when the program could not be started.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  std::string child = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string childCommand = "\"" + child + "\"";
  if (!CreateProcessA(child.c_str(), childCommand.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return 100;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 100;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}
