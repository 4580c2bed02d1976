#include "run_directory.h"

#include <windows.h>

#include <vector>

std::string RunDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::string path(buffer.data(), n);
      size_t slash = path.find_last_of('\\');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);  // a long path was cut: ask again with more room
  }
}
