// A stand-in for the alert window and its timers: records what the handlers do to them.
#pragma once

#include <map>
#include <string>

#include "alert_state.h"

struct FakeAlert {
  WindowBox box{0, 0, 380, 411};
  std::map<TimerId, char> threadTimers;  // running ones: 'i' slide-in, 'o' slide-out
  TimerId nextTimer = 1;
  bool slideInTimersFail = false;
  bool slideOutTimersFail = false;
  int slideOutStarts = 0;
  bool countdownRunning = false;
  std::string blockCaption = "拦截（推荐）10";
  int destructionRequests = 0;
  int topAtDestructionRequest = 0;
  int moves = 0;

  bool Running(char kind) const {
    for (const auto& timer : threadTimers) {
      if (timer.second == kind) return true;
    }
    return false;
  }

  TimerId Start(char kind, bool fail) {
    if (fail) return 0;
    threadTimers[nextTimer] = kind;
    return nextTimer++;
  }

  AlertEffects Effects() {
    return AlertEffects{
        [this] { return box; },
        [this](int left, int top) {
          box.left = left;
          box.top = top;
          ++moves;
        },
        [this] { return Start('i', slideInTimersFail); },
        [this] {
          ++slideOutStarts;
          return Start('o', slideOutTimersFail);
        },
        [this](TimerId id) { threadTimers.erase(id); },
        [this] { countdownRunning = true; },
        [this] { countdownRunning = false; },
        [this](const std::string& caption) { blockCaption = caption; },
        [this] {
          ++destructionRequests;
          topAtDestructionRequest = box.top;
        },
    };
  }
};
