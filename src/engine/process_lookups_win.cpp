#include "process_lookups.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

#include "text_rules.h"

namespace {

// Walks the process entries of a snapshot until visit returns true.
template <typename Visit>
void WalkProcesses(DWORD flags, Visit visit) {
  HANDLE snapshot = CreateToolhelp32Snapshot(flags, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (visit(entry)) break;
  }
  CloseHandle(snapshot);
}

std::string QueryVersionString(const std::vector<char>& block, const std::string& subBlock) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || value == nullptr) return {};
  // The value is zero-terminated; a long one is kept whole.
  return TrimSpaces(static_cast<const char*>(value));
}

}  // namespace

std::string ProcessNameById(int processId) {
  std::string name;
  WalkProcesses(TH32CS_SNAPPROCESS, [&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID != static_cast<DWORD>(processId)) return false;
    name = entry.szExeFile;
    return true;
  });
  return name;
}

std::string ImagePathById(int processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, static_cast<DWORD>(processId));
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  MODULEENTRY32 module{};
  module.dwSize = sizeof(module);
  Module32First(snapshot, &module);  // on failure the entry stays zero-filled: empty path
  CloseHandle(snapshot);
  module.szExePath[sizeof(module.szExePath) - 1] = '\0';
  return module.szExePath;
}

int ParentProcessId(int processId) {
  int parent = -1;
  WalkProcesses(TH32CS_SNAPALL, [&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID != static_cast<DWORD>(processId)) return false;
    parent = static_cast<int>(entry.th32ParentProcessID);
    return true;
  });
  return parent;
}

VersionFields ReadVersionFields(const std::string& path) {
  VersionFields fields;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
  if (size < 1) return fields;
  std::vector<char> block(size + 1, 0);
  if (!GetFileVersionInfoA(path.c_str(), 0, size + 1, block.data())) return fields;

  void* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length)) return fields;
  unsigned char b[4] = {0, 0, 0, 0};
  for (UINT i = 0; i < 4 && i < length && translation; ++i) b[i] = static_cast<unsigned char*>(translation)[i];
  unsigned language = b[0] + 256u * b[1];
  unsigned codePage = b[2] + 256u * b[3];
  char key[16];
  std::snprintf(key, sizeof key, "%08X", language * 65536u + codePage);

  char languageName[261] = {};
  VerLanguageNameA(language, languageName, 255);
  fields.language = TrimSpaces(languageName);

  const std::string prefix = std::string("\\StringFileInfo\\") + key + "\\";
  fields.fileVersion = QueryVersionString(block, prefix + "FileVersion");
  fields.internalName = QueryVersionString(block, prefix + "InternalName");
  fields.company = QueryVersionString(block, prefix + "CompanyName");
  fields.copyright = QueryVersionString(block, prefix + "LegalCopyright");
  fields.description = QueryVersionString(block, prefix + "FileDescription");
  return fields;
}
