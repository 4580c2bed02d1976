#include "alert_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_alert.h"

namespace {

// One alert driven by hand: each call runs the handler that the window system would.
struct AlertBench {
  AlertState state;
  FakeAlert window;
  AlertEffects effects = window.Effects();
  int riseMoves = 0;

  void Create(ScreenSize screen, int band) {
    window.moves = 0;
    OnAlertCreated(state, effects, screen, band);
  }
  // Slide-in ticks while the slide-in timer runs; at most `limit` of them.
  void Rise(int limit = 1000) {
    for (int i = 0; i < limit && window.Running('i'); ++i) {
      int before = window.box.top;
      SlideInStep(state, effects);
      if (window.box.top != before) ++riseMoves;
    }
  }
  // Slide-out ticks until the destruction is requested; the window then goes.
  void SlideOutToEnd() {
    for (int i = 0; i < 1000 && window.Running('o') && window.destructionRequests == 0; ++i) {
      SlideOutStep(state, effects);
    }
  }
  void Tick() {
    if (window.countdownRunning) OnCountdownTick(state, effects);
  }
};

constexpr ScreenSize kScreen{1024, 768};

struct PlacementCase {
  const char* name;
  ScreenSize screen;
  int band;
  int left;
  int restingTop;
  int riseMoves;
  int restTop;
  int destructionTop;
};

// Worked out by hand from the rule: rest at the first 10-pixel step at or above
// screen height - 411 - band; go once the top passes screen height - band.
const PlacementCase kPlacements[] = {
    {"band30", kScreen, 30, 644, 327, 45, 318, 748},
    {"noTaskbar", kScreen, 0, 644, 357, 42, 348, 778},
    {"verticalTaskbar", kScreen, 768, 644, -411, 118, -412, 8},
    {"largeScreen", {1920, 1080}, 40, 1540, 629, 46, 620, 1050},
};

TEST(AlertPlacement, RisesAboveTheBandAndGoesBehindIt) {
  for (const PlacementCase& c : kPlacements) {
    SCOPED_TRACE(c.name);
    AlertBench bench;
    bench.window.box = {5, 100, 380, 411};
    bench.Create(c.screen, c.band);
    EXPECT_EQ(bench.window.box.left, c.left);
    EXPECT_EQ(bench.window.box.top, c.screen.height);  // wholly below the screen
    EXPECT_EQ(bench.state.restingTop, c.restingTop);
    EXPECT_TRUE(bench.window.countdownRunning);
    EXPECT_EQ(bench.state.countdown, 10);

    bench.Rise();
    EXPECT_EQ(bench.riseMoves, c.riseMoves);
    EXPECT_EQ(bench.window.box.top, c.restTop);
    EXPECT_TRUE(bench.window.threadTimers.empty());

    OnAllowClicked(bench.state, bench.effects);
    bench.SlideOutToEnd();
    EXPECT_EQ(bench.window.destructionRequests, 1);
    EXPECT_EQ(bench.window.topAtDestructionRequest, c.destructionTop);
    EXPECT_EQ(bench.window.box.top, c.destructionTop + 10);  // that step moves too
    EXPECT_EQ(bench.window.box.left, c.left);
    EXPECT_TRUE(bench.window.threadTimers.empty());
  }
}

TEST(AlertPlacement, DraggedAlertSlidesOutFromWhereItWasDropped) {
  AlertBench bench;
  bench.Create(kScreen, 30);
  bench.Rise();
  bench.window.box.left = 100;
  bench.window.box.top = 50;
  OnBlockClicked(bench.state, bench.effects);
  bench.SlideOutToEnd();
  EXPECT_EQ(bench.window.topAtDestructionRequest, 740);  // 50 + 69 steps passes 738
  EXPECT_EQ(bench.window.box.left, 100);
}

// Without a slide-in timer the alert would stay below the screen; without a slide-out timer
// it would never go and the launch decision would wait for ever.
TEST(AlertPlacement, MissingSlideTimersStillShowAndEndTheAlert) {
  AlertBench noSlideIn;
  noSlideIn.window.slideInTimersFail = true;
  noSlideIn.Create(kScreen, 30);
  EXPECT_EQ(noSlideIn.window.box.top, 318);
  EXPECT_TRUE(noSlideIn.window.countdownRunning);

  AlertBench noSlideOut;
  noSlideOut.window.slideOutTimersFail = true;
  noSlideOut.Create(kScreen, 30);
  noSlideOut.Rise();
  OnAllowClicked(noSlideOut.state, noSlideOut.effects);
  EXPECT_EQ(noSlideOut.window.destructionRequests, 1);
  EXPECT_EQ(noSlideOut.state.verdict, 1);
}

enum Action { kRise10, kAllow, kBlock, kClose, kTick, kMouse, kSlide3 };

struct AnswerCase {
  const char* name;
  int verdictBefore;
  std::vector<Action> actions;
  int verdict;
  const char* caption;  // the block button at the end
};

const AnswerCase kAnswers[] = {
    {"allow", 0, {kRise10, kAllow}, 1, "拦截（推荐）10"},
    {"block", 1, {kRise10, kBlock}, 0, "拦截（推荐）10"},
    {"close", 1, {kRise10, kClose}, 0, "拦截（推荐）10"},
    {"allowTwice", 0, {kRise10, kAllow, kSlide3, kAllow}, 1, "拦截（推荐）10"},
    {"allowThenClose", 0, {kRise10, kAllow, kSlide3, kClose}, 0, "拦截（推荐）10"},
    {"blockThenAllow", 0, {kRise10, kBlock, kSlide3, kAllow}, 1, "拦截（推荐）10"},
    {"countdownRunsOutWhileSlidingOut", 0,
     {kRise10, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kAllow,
      kSlide3, kTick},
     0, "拦截（推荐）0"},
    {"mouseStopsCountdownForGood", 0,
     {kTick, kTick, kMouse, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kTick, kTick,
      kTick, kAllow},
     1, "拦截（推荐）"},
};

TEST(AlertAnswers, LastAnswerBeforeTheDestructionDecides) {
  for (const AnswerCase& c : kAnswers) {
    SCOPED_TRACE(c.name);
    AlertBench bench;
    bench.state.verdict = c.verdictBefore;
    bench.Create(kScreen, 30);
    for (Action action : c.actions) {
      switch (action) {
        case kRise10: bench.Rise(10); break;
        case kAllow: OnAllowClicked(bench.state, bench.effects); break;
        case kBlock: OnBlockClicked(bench.state, bench.effects); break;
        case kClose: OnAlertCloseRequest(bench.state, bench.effects); break;
        case kTick: bench.Tick(); break;
        case kMouse: OnAlertMouseMove(bench.state, bench.effects); break;
        case kSlide3:
          for (int i = 0; i < 3 && bench.window.Running('o'); ++i) {
            SlideOutStep(bench.state, bench.effects);
          }
          break;
      }
    }
    ASSERT_EQ(bench.window.destructionRequests, 0) << "gone before the last answer";
    bench.SlideOutToEnd();
    EXPECT_EQ(bench.state.verdict, c.verdict);
    EXPECT_EQ(bench.window.blockCaption, c.caption);
    EXPECT_EQ(bench.window.slideOutStarts, 1);  // one slide-out, at the normal speed
    EXPECT_EQ(bench.window.destructionRequests, 1);
    EXPECT_TRUE(bench.window.threadTimers.empty());
  }
}

TEST(AlertAnswers, AnswerWhileRisingStopsTheRiseAtOnce) {
  AlertBench bench;
  bench.Create(kScreen, 30);
  bench.Rise(10);
  EXPECT_EQ(bench.window.box.top, 668);
  OnBlockClicked(bench.state, bench.effects);
  EXPECT_FALSE(bench.window.Running('i'));
  SlideInStep(bench.state, bench.effects);  // a tick already on its way does nothing
  EXPECT_EQ(bench.window.box.top, 668);
  SlideOutStep(bench.state, bench.effects);
  EXPECT_EQ(bench.window.box.top, 678);
  bench.SlideOutToEnd();
  EXPECT_EQ(bench.window.topAtDestructionRequest, 748);
}

TEST(AlertCountdown, ShowsTenTenNineDownToZeroThenBlocks) {
  AlertBench bench;
  bench.state.verdict = 1;
  bench.Create(kScreen, 30);
  std::vector<std::string> captions;
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(bench.window.slideOutStarts, 0) << "tick " << i;
    bench.Tick();
    captions.push_back(bench.window.blockCaption);
  }
  std::vector<std::string> expected;
  for (int n = 10; n >= 0; --n) expected.push_back("拦截（推荐）" + std::to_string(n));
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(bench.state.verdict, 0);
  EXPECT_FALSE(bench.window.countdownRunning);
  EXPECT_TRUE(bench.state.closing);
}

TEST(AlertCountdown, MouseMovementStopsItAndKeepsTheNumber) {
  AlertBench bench;
  bench.Create(kScreen, 30);
  bench.Tick();
  bench.Tick();
  OnAlertMouseMove(bench.state, bench.effects);
  EXPECT_FALSE(bench.window.countdownRunning);
  EXPECT_EQ(bench.window.blockCaption, "拦截（推荐）");
  EXPECT_EQ(bench.state.countdown, 8);
  EXPECT_FALSE(bench.state.closing);
}

TEST(AlertLifecycle, SecondAlertStartsFreshButKeepsTheVerdict) {
  AlertBench bench;
  bench.Create(kScreen, 30);
  OnAllowClicked(bench.state, bench.effects);
  bench.SlideOutToEnd();

  FakeAlert second;
  AlertEffects effects = second.Effects();
  second.box = {0, 0, 380, 411};
  OnAlertCreated(bench.state, effects, kScreen, 30);
  EXPECT_FALSE(bench.state.closing);
  EXPECT_EQ(bench.state.countdown, 10);
  EXPECT_EQ(bench.state.verdict, 1);
  OnAlertCloseRequest(bench.state, effects);
  EXPECT_EQ(second.slideOutStarts, 1);
  EXPECT_EQ(bench.state.verdict, 0);
}

TEST(AlertLifecycle, StoppingTheSlideTimersLeavesNoneRunning) {
  AlertBench bench;
  bench.Create(kScreen, 30);
  bench.Rise(3);
  OnAllowClicked(bench.state, bench.effects);
  EXPECT_TRUE(bench.window.Running('o'));
  StopSlideTimers(bench.state, bench.effects);
  EXPECT_TRUE(bench.window.threadTimers.empty());
}

}  // namespace
