// The whitelist: the user's trusted executables, each kept as the path text it was added
// under and the MD5 text of the file's content at that moment. Only the MD5 text decides
// whether a program may run; the path is what the user sees and removes by.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The largest file the whitelist fingerprints: the editor accepts a file of exactly this
// size, the launch check only looks up files strictly below it.
constexpr std::int32_t MaxWhitelistFileSize = 5242880;

struct WhitelistEntry {
  std::string path;  // exactly as given: not trimmed, not case-folded
  std::string md5;   // Md5Text of the file, or the text read from list.db as it stands
};

// The one ordered list of the process: entries from list.db first, in file order, then
// additions at the end. No uniqueness rule. Its count is entries.size().
struct Whitelist {
  std::vector<WhitelistEntry> entries;
};

// What AddWhitelistEntry needs from the file system (see whitelist_lookups_win.h).
struct FingerprintLookups {
  // The size from a directory lookup of the path; -1 when nothing is found.
  std::function<long long(const std::string& path)> fileSize;
  // The whole content, opened so that others may read but not write it meanwhile; empty
  // when it cannot be opened that way.
  std::function<std::string(const std::string& path)> readFile;
};

// The number of entries.
size_t WhitelistCount(const Whitelist& list);

// True when some entry's md5 equals this text byte for byte (so upper case never matches).
bool IsWhitelisted(const Whitelist& list, std::string_view md5);

// The editor's add: appends path with the MD5 text of its file's content. Refuses (false,
// nothing changes) a file above 5,242,880 bytes and a path of spaces only. A file the lookup
// cannot find is added with the MD5 text of zero bytes.
bool AddWhitelistEntry(Whitelist& list, const std::string& path, const FingerprintLookups& files);

// Removes the first entry whose path equals this text byte for byte; false when none does.
bool RemoveWhitelistEntry(Whitelist& list, std::string_view path);

// Appends an entry read from list.db as it stands, without any test.
void AppendLoadedEntry(Whitelist& list, std::string path, std::string md5);
