#include "write_whole_file.h"

#include <windows.h>

bool WriteWholeFile(const std::string& path, const std::string& bytes, FileFlush flush) {
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
  bool whole = done == bytes.size() && (flush == FileFlush::None || FlushFileBuffers(file));
  CloseHandle(file);
  return whole;
}
