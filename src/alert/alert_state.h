// What the alert does by itself: where it is placed, how it slides in above the task band
// and out behind it, the countdown on the block button and the three answers. Plain C++:
// the handlers act on the window and its timers only through the effects passed in.
#pragma once

#include <functional>
#include <string>

#include "window_ops.h"

// The one alert's record. `verdict` survives from one alert to the next.
struct AlertState {
  int verdict = 0;  // 1 allow, 0 block
  int restingTop = 0;
  TimerId slideInTimer = 0;
  int countdown = 0;
  bool closing = false;
  TimerId slideOutTimer = 0;
};

// The window and timer effects of the handlers, bound to the one alert window.
struct AlertEffects {
  std::function<WindowBox()> ReadBounds;  // outer rectangle of the alert
  std::function<void(int left, int top)> MoveTo;
  std::function<TimerId()> StartSlideInTimer;   // 10 ms thread timer running SlideInStep
  std::function<TimerId()> StartSlideOutTimer;  // 10 ms thread timer running SlideOutStep
  std::function<void(TimerId)> StopThreadTimer;
  std::function<void()> StartCountdownTimer;  // 1000 ms window timer running OnCountdownTick
  std::function<void()> StopCountdownTimer;
  std::function<void(const std::string&)> SetBlockCaption;
  std::function<void()> RequestDestruction;  // destroys the window once the step is over
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

constexpr int kSlideStepPixels = 10;
constexpr int kCountdownStart = 10;

// The block button's caption while the countdown shows `countdown`.
std::string BlockCaption(int countdown);
// The block button's caption once the countdown has been stopped by the mouse.
std::string BlockCaptionWithoutCountdown();

// Places the new alert at the right edge just below the screen, starts its slide-in and
// its countdown. `band` is the task band's height.
void OnAlertCreated(AlertState& state, const AlertEffects& effects, ScreenSize screen, int band);
void SlideInStep(AlertState& state, const AlertEffects& effects);
void OnCountdownTick(AlertState& state, const AlertEffects& effects);
void OnAlertMouseMove(AlertState& state, const AlertEffects& effects);
void OnAllowClicked(AlertState& state, const AlertEffects& effects);
void OnBlockClicked(AlertState& state, const AlertEffects& effects);
// The close request answers block; the caller refuses the close itself.
void OnAlertCloseRequest(AlertState& state, const AlertEffects& effects);
void StartSlideOut(AlertState& state, const AlertEffects& effects);
void SlideOutStep(AlertState& state, const AlertEffects& effects);
// Stops both slide timers; for a window that goes away by other means than its slide-out.
void StopSlideTimers(AlertState& state, const AlertEffects& effects);
