// The content of list.db: one line "path|md5" CR LF per entry, in list order, inside the
// cipher container of whitelist_container.h. An empty list gives a 0-byte file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "whitelist.h"

// The plain text of the list: path, "|", md5, CR LF for each entry; nothing else.
std::string JoinWhitelistText(const Whitelist& list);

// The entries of a deciphered text: cut at its first zero byte, split at CR LF only (a lone
// CR or LF stays in its line), lines of spaces only skipped, each line split at "|" character
// by character; fields 1 and 2 make the entry, later fields are ignored and a line with fewer
// than two fields gives none.
std::vector<WhitelistEntry> ParseWhitelistText(std::string_view text);

// The bytes of list.db for this list.
std::string EncodeWhitelistFile(const Whitelist& list);

// Appends the entries held in the bytes of a list.db to the list; a damaged file adds none.
void DecodeWhitelistFile(std::string_view fileBytes, Whitelist& list);
