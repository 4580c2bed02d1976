#include "whitelist_file_win.h"

#include <windows.h>

#include "fingerprint_lookups_win.h"
#include "whitelist_file_format.h"
#include "write_whole_file.h"

namespace {

std::string WhitelistFilePath(const std::string& directory) { return directory + "\\list.db"; }

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
  // The temporary file replaces any stale one of its name; list.db is only replaced once the
  // new content is whole on the disk.
  if (!WriteWholeFile(temporary, bytes, FileFlush::ToDisk) ||
      !MoveFileExA(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
