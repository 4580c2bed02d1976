#pragma once

// Creates the main window, runs the message loop until no window of the program remains
// and returns 0.
int RunApplication();
