// The file look-ups behind AddWhitelistEntry, over the Win32 file calls.
#pragma once

#include <string>

#include "whitelist.h"

// The size from a directory lookup of the path (FindFirstFileA), all 64 bits; -1 when the
// lookup finds nothing.
long long LookUpFileSize(const std::string& path);

// The whole file, opened for reading while others may read but not write it; empty when it
// cannot be opened that way or read, and for files of 2 GiB or more.
std::string ReadFileSharedForReading(const std::string& path);

// The two above as the record AddWhitelistEntry takes.
FingerprintLookups WindowsFingerprintLookups();
