// The alert that asks the user about one browser-started process. The launch decision
// loads it, fills it without pumping messages in between, pumps until it is gone and then
// reads the verdict the alert stored.
#pragma once

#include <windows.h>

#include <string>

struct AlertContent {
  std::string caption;       // window title
  std::string processLabel;  // the bold red process line
  std::string path;          // path box
  std::string parent;        // parent box
  std::string iconBytes;     // a whole ICO file, shown centred in the picture box
  std::string details;       // appended to the details box
};

// Creates and shows the alert as a non-modal window without owner. When this returns the
// alert has been placed below the screen and its slide-in and countdown are running.
// Returns 0 when the window cannot be created.
HWND LoadAlertWindow();

// Puts the texts and the picture into the alert. Dispatches no messages.
void FillAlertWindow(HWND alert, const AlertContent& content);

// Dispatches every message of the thread until the alert window no longer exists.
void PumpUntilAlertGone(HWND alert);

// The answer stored by the last alert: 1 allow, 0 block. It survives from one alert to the
// next (a new alert does not reset it) and starts as block.
int StoredAlertVerdict();
