// The directory of the running executable, without a trailing backslash. The program keeps
// its files (list.db, 1.ico, setting.ini) there.
#pragma once

#include <string>

std::string RunDirectory();
