#include "whitelist.h"

#include <algorithm>
#include <utility>

#include "md5.h"
#include "text_rules.h"

size_t WhitelistCount(const Whitelist& list) { return list.entries.size(); }

bool IsWhitelisted(const Whitelist& list, std::string_view md5) {
  return std::any_of(list.entries.begin(), list.entries.end(),
                     [&](const WhitelistEntry& entry) { return entry.md5 == md5; });
}

bool AddWhitelistEntry(Whitelist& list, const std::string& path, const FingerprintLookups& files) {
  // The size comes in whole (64 bits): a file of 2 GiB or more must not wrap to a small or
  // negative number and then be read into memory.
  if (files.fileSize(path) > MaxWhitelistFileSize) return false;
  if (IsBlankText(path)) return false;
  list.entries.push_back({path, Md5Text(files.readFile(path))});
  return true;
}

bool RemoveWhitelistEntry(Whitelist& list, std::string_view path) {
  auto found = std::find_if(list.entries.begin(), list.entries.end(),
                            [&](const WhitelistEntry& entry) { return entry.path == path; });
  if (found == list.entries.end()) return false;
  list.entries.erase(found);
  return true;
}

void AppendLoadedEntry(Whitelist& list, std::string path, std::string md5) {
  list.entries.push_back({std::move(path), std::move(md5)});
}
