// Look-ups about a process and its executable. Each asks the system afresh; none fails
// loudly: what cannot be inspected gives an empty text, or -1 for the parent id.
#pragma once

#include <string>

#include "version_fields.h"

// Executable file name of the process ("iexplore.exe"), or empty.
std::string ProcessNameById(int processId);

// Full path of the process's executable, or empty (also right after the process was created).
std::string ImagePathById(int processId);

// Id of the parent process as the system recorded it, or -1.
int ParentProcessId(int processId);

// Version fields of an executable; six empty texts when it has no readable version resource.
VersionFields ReadVersionFields(const std::string& path);
