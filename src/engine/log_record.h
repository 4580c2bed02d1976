// What one row of the activity log holds: its time text and its nine-line detail text.
#pragma once

#include <string>

#include "version_fields.h"

enum class LogAction { Allowed, Blocked };

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// year.month.day-hour:minute:second, decimal without leading zeros ("2011.10.9-8:5:7").
std::string FormatLogTime(const LocalTime& time);

// "放行" or "拦截".
std::string LogActionText(LogAction action);

// The detail text of a row; the names are looked up by the caller at the moment the row is
// written (an ended process gives empty names).
std::string FormatDetailText(int processId, const std::string& path, LogAction action,
                             const std::string& processName, const std::string& parentName,
                             const VersionFields& fields);
