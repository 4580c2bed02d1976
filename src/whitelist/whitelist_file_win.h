// list.db in the program's directory: read once at start-up, rewritten whole at every close.
#pragma once

#include <string>

#include "whitelist.h"

// Appends the entries of directory\list.db to the list. A missing, unreadable or damaged
// file adds nothing. The directory text has no trailing backslash (RunDirectory()).
void LoadWhitelist(const std::string& directory, Whitelist& list);

// Writes the list to directory\list.db (0 bytes for an empty list). The new content goes to
// a temporary file beside it, which then replaces list.db in one step, so a save that cannot
// complete leaves the previous list.db whole. True when list.db now holds the list.
bool SaveWhitelist(const std::string& directory, const Whitelist& list);
