#include "whitelist_file_win.h"

#include <windows.h>

#include "fingerprint_lookups_win.h"
#include "whitelist_file_format.h"

namespace {

std::string WhitelistFilePath(const std::string& directory) { return directory + "\\list.db"; }

// Writes the bytes to a new file (replacing any stale one of that name) and flushes them to
// the disk. A file that cannot be written whole is removed again.
bool WriteFlushedFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  DWORD wrote = 0;
  while (done < bytes.size() &&
         WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote,
                   nullptr) &&
         wrote > 0) {
    done += wrote;
  }
  bool whole = done == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!whole) DeleteFileA(path.c_str());
  return whole;
}

}  // namespace

void LoadWhitelist(const std::string& directory, Whitelist& list) {
  std::string path = WhitelistFilePath(directory);
  if (LookUpFileSize(path) < 0) return;
  DecodeWhitelistFile(ReadFileSharedForReading(path), list);
}

bool SaveWhitelist(const std::string& directory, const Whitelist& list) {
  std::string bytes = EncodeWhitelistFile(list);
  if (bytes.empty() && !list.entries.empty()) return false;  // too long to frame: keep the old file
  std::string path = WhitelistFilePath(directory);
  std::string temporary = path + ".tmp";
  if (!WriteFlushedFile(temporary, bytes)) return false;
  if (!MoveFileExA(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
