#include "alert_state.h"

#include "text_rules.h"

namespace {

constexpr char kBlockCaptionStem[] = "拦截（推荐）";

// The top at which the slide-in from `top` comes to rest: the first position, in whole
// steps, at or above the resting top.
int RestingPositionFrom(int top, int restingTop) {
  if (top <= restingTop) return top;
  int steps = (top - restingTop + kSlideStepPixels - 1) / kSlideStepPixels;
  return top - steps * kSlideStepPixels;
}

// Without a slide-in timer the alert would stay below the screen: put it where it would rest.
void RestAtOnce(AlertState& state, const AlertEffects& effects) {
  WindowBox box = effects.ReadBounds();
  effects.MoveTo(box.left, RestingPositionFrom(box.top, state.restingTop));
}

void Answer(AlertState& state, const AlertEffects& effects, int verdict) {
  state.verdict = verdict;  // the last answer before the destruction decides
  StartSlideOut(state, effects);
}

}  // namespace

std::string BlockCaption(int countdown) { return kBlockCaptionStem + DecimalText(countdown); }

std::string BlockCaptionWithoutCountdown() { return kBlockCaptionStem; }

void OnAlertCreated(AlertState& state, const AlertEffects& effects, ScreenSize screen, int band) {
  state.closing = false;
  WindowBox box = effects.ReadBounds();
  int left = screen.width - box.width;
  effects.MoveTo(left, box.top);
  state.restingTop = screen.height - box.height - band;
  effects.MoveTo(left, screen.height);
  state.slideInTimer = effects.StartSlideInTimer();
  if (state.slideInTimer == 0) RestAtOnce(state, effects);
  state.countdown = kCountdownStart;
  effects.StartCountdownTimer();
}

void SlideInStep(AlertState& state, const AlertEffects& effects) {
  if (state.closing) {
    effects.StopThreadTimer(state.slideInTimer);
    state.slideInTimer = 0;
    return;
  }
  effects.StopThreadTimer(state.slideInTimer);
  state.slideInTimer = effects.StartSlideInTimer();
  WindowBox box = effects.ReadBounds();
  if (box.top > state.restingTop) {
    effects.MoveTo(box.left, box.top - kSlideStepPixels);
    if (state.slideInTimer == 0) RestAtOnce(state, effects);
  } else {
    effects.StopThreadTimer(state.slideInTimer);
    state.slideInTimer = 0;
  }
}

void OnCountdownTick(AlertState& state, const AlertEffects& effects) {
  effects.SetBlockCaption(BlockCaption(state.countdown));
  if (state.countdown == 0) {
    effects.StopCountdownTimer();
    OnBlockClicked(state, effects);
  }
  --state.countdown;
}

void OnAlertMouseMove(AlertState&, const AlertEffects& effects) {
  effects.StopCountdownTimer();
  effects.SetBlockCaption(BlockCaptionWithoutCountdown());
}

void OnAllowClicked(AlertState& state, const AlertEffects& effects) { Answer(state, effects, 1); }

void OnBlockClicked(AlertState& state, const AlertEffects& effects) { Answer(state, effects, 0); }

void OnAlertCloseRequest(AlertState& state, const AlertEffects& effects) {
  Answer(state, effects, 0);
}

void StartSlideOut(AlertState& state, const AlertEffects& effects) {
  if (state.closing) return;
  state.closing = true;
  effects.StopThreadTimer(state.slideInTimer);
  state.slideInTimer = 0;
  state.slideOutTimer = effects.StartSlideOutTimer();
  // Without a slide-out timer the window would never go and the caller would wait for ever.
  if (state.slideOutTimer == 0) effects.RequestDestruction();
}

void SlideOutStep(AlertState& state, const AlertEffects& effects) {
  WindowBox box = effects.ReadBounds();
  if (box.top - box.height - state.restingTop > 0) {
    effects.StopThreadTimer(state.slideOutTimer);
    state.slideOutTimer = 0;
    effects.RequestDestruction();
  }
  effects.MoveTo(box.left, box.top + kSlideStepPixels);
}

void StopSlideTimers(AlertState& state, const AlertEffects& effects) {
  effects.StopThreadTimer(state.slideInTimer);
  state.slideInTimer = 0;
  effects.StopThreadTimer(state.slideOutTimer);
  state.slideOutTimer = 0;
}
