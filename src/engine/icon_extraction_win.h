// The icon of an executable for the alert: extracted into the icon file and read back.
#pragma once

#include <string>

// Writes the icon of the executable at executablePath to iconFilePath (replacing it) and
// returns the ICO bytes to show: the file as read back, or the built-in default icon when
// the executable yields no icon or the file cannot be written or read. An executable
// without icon never shows the icon file left by an earlier one.
std::string ExtractAlertIcon(const std::string& executablePath, const std::string& iconFilePath);
