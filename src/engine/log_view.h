// The activity log's report list view: five columns, the fifth (width 0) holding each row's
// detail text.
#pragma once

#include <windows.h>

#include <string>

#include "log_record.h"

// Creates the report list view as a child of parent, with its five columns.
HWND CreateLogView(HWND parent, int x, int y, int width, int height, int controlId);

// Appends one row after the last: time, process name, path, action, detail text. The
// process name and parent are looked up now; fields are the version fields of the process.
void AppendLogRow(HWND logView, int processId, const std::string& path, LogAction action,
                  const VersionFields& fields);

// The text of one cell; empty for a row or column that does not exist.
std::string ReadLogCellText(HWND logView, int row, int column);
