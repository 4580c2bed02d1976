#include "whitelist_file_format.h"

#include <utility>

#include "text_rules.h"
#include "whitelist_container.h"

std::string JoinWhitelistText(const Whitelist& list) {
  std::string text;
  for (const WhitelistEntry& entry : list.entries) {
    text += entry.path;
    text += '|';
    text += entry.md5;
    text += "\r\n";
  }
  return text;
}

std::vector<WhitelistEntry> ParseWhitelistText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<WhitelistEntry> entries;
  for (const std::string& line : SplitText(text, "\r\n")) {
    if (IsBlankText(line)) continue;
    std::vector<std::string> fields = SplitText(line, "|");
    if (fields.size() < 2) continue;  // no md5 to match against: not an entry
    entries.push_back({std::move(fields[0]), std::move(fields[1])});
  }
  return entries;
}

std::string EncodeWhitelistFile(const Whitelist& list) {
  return EncryptData(JoinWhitelistText(list));
}

void DecodeWhitelistFile(std::string_view fileBytes, Whitelist& list) {
  for (WhitelistEntry& entry : ParseWhitelistText(DecryptData(fileBytes))) {
    AppendLoadedEntry(list, std::move(entry.path), std::move(entry.md5));
  }
}
