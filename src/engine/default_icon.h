// The alert's icon when the executable gives none: a blue shield with a white tick.
#pragma once

#include <string>

// A whole ICO file: one 32 x 32 image at 32 bits per pixel with alpha, 4,286 bytes.
const std::string& DefaultIconFile();
