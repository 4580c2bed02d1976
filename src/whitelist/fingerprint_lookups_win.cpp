#include "fingerprint_lookups_win.h"

#include <windows.h>

#include <cstdint>

long long LookUpFileSize(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return static_cast<long long>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) |
                                found.nFileSizeLow);
}

std::string ReadFileSharedForReading(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  LARGE_INTEGER size;
  // The size is taken again from the open file: it may have grown since it was looked up.
  if (GetFileSizeEx(file, &size) && size.QuadPart <= INT32_MAX) {
    content.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    DWORD got = 0;
    while (done < content.size() &&
           ReadFile(file, content.data() + done, static_cast<DWORD>(content.size() - done), &got,
                    nullptr) &&
           got > 0) {
      done += got;
    }
    if (done < content.size()) content.clear();  // a failed or short read gives nothing
  }
  CloseHandle(file);
  return content;
}

FingerprintLookups WindowsFingerprintLookups() {
  return {LookUpFileSize, ReadFileSharedForReading};
}
