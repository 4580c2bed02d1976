// The poll tick driven by a scripted process list: every platform call it makes is written
// to an effect log and compared, tick by tick, with the expected order.
#include "process_watcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Counts heap allocations, to see that a tick with nothing new allocates nothing. The
// replacement pairs malloc with free itself, which GCC cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::size_t g_allocations = 0;

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  std::abort();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using Ids = std::vector<std::uint32_t>;

constexpr int kNeverReady = -1;

// What the fake system shows and how it answers.
struct FakeSystem {
  // Each complete enumeration takes the next list (nullopt: the call fails); the last list
  // stays. A call that fills the buffer sees the same list again when asked once more.
  std::deque<std::optional<Ids>> lists;
  std::set<int> failOpen;
  std::set<int> block;
  std::map<int, int> emptyPathTries;  // tries that still give an empty path, or kNeverReady
  bool reenter = false;
  std::map<int, int> pathTries;
  std::vector<std::string> effects;
};

std::string PathOf(int processId) { return "C:\\apps\\p" + std::to_string(processId) + ".exe"; }

ProcessHandle HandleOf(int processId) {
  return reinterpret_cast<ProcessHandle>(static_cast<std::uintptr_t>(0x10000 + processId));
}

std::string IdOf(ProcessHandle handle) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(handle) - 0x10000);
}

ProcessControl FakeControl(FakeSystem& fake, WatcherState& state) {
  ProcessControl ops;
  ops.enableDebugPrivilege = [&fake] { fake.effects.push_back("privilege"); };
  ops.enumerateProcessIds = [&fake](std::uint32_t* ids, std::size_t capacity, std::size_t& written) {
    fake.effects.push_back("enum " + std::to_string(capacity));
    const std::optional<Ids> list = fake.lists.front();
    if (!list) {
      if (fake.lists.size() > 1) fake.lists.pop_front();
      return false;
    }
    written = std::min(list->size(), capacity);
    std::copy(list->begin(), list->begin() + written, ids);
    if (written < capacity && fake.lists.size() > 1) fake.lists.pop_front();
    return true;
  };
  ops.openProcess = [&fake](int processId, ProcessHandle& handle) -> long {
    fake.effects.push_back("open " + std::to_string(processId));
    if (fake.failOpen.count(processId)) return static_cast<long>(0xC000000BL);
    handle = HandleOf(processId);
    return 0;
  };
  ops.suspendProcess = [&fake](ProcessHandle h) { fake.effects.push_back("suspend " + IdOf(h)); };
  ops.resumeProcess = [&fake](ProcessHandle h) { fake.effects.push_back("resume " + IdOf(h)); };
  ops.terminateProcess = [&fake](ProcessHandle h) { fake.effects.push_back("terminate " + IdOf(h)); };
  ops.closeHandle = [&fake](ProcessHandle h) { fake.effects.push_back("close " + IdOf(h)); };
  ops.sleepOneMillisecond = [&fake] { fake.effects.push_back("sleep"); };
  ops.imagePathById = [&fake](int processId) {
    fake.effects.push_back("path " + std::to_string(processId));
    const int tries = ++fake.pathTries[processId];
    const auto empty = fake.emptyPathTries.find(processId);
    if (empty != fake.emptyPathTries.end() &&
        (empty->second == kNeverReady || tries <= empty->second)) {
      return std::string();
    }
    return PathOf(processId);
  };
  ops.readVersionFields = [&fake](const std::string& path) {
    fake.effects.push_back("fields " + path);
    VersionFields fields;
    fields.description = path;
    return fields;
  };
  ops.appendLogRow = [&fake, &state](int processId, const std::string& path, LogAction action,
                                     const VersionFields& fields) {
    fake.effects.push_back("row " + std::to_string(processId) + " " + path +
                           (action == LogAction::Allowed ? " allowed" : " blocked") +
                           " last=" + std::to_string(state.LastEvent) + " [" +
                           fields.description + "]");
  };
  return ops;
}

// The effects of handling one new process whose path is readable at the given try.
std::vector<std::string> Handled(int processId, bool allow, int pathTry = 1) {
  const std::string id = std::to_string(processId);
  const std::string path = pathTry > 0 ? PathOf(processId) : "";
  std::vector<std::string> out = {"open " + id};
  for (int i = 0; i < (pathTry > 0 ? pathTry : 80); ++i) {
    out.push_back("sleep");
    out.push_back("path " + id);
  }
  out.push_back("suspend " + id);
  out.push_back("fields " + path);
  out.push_back("decide " + id + " " + path + " [" + path + "]");
  if (allow) {
    out.push_back("resume " + id);
    out.push_back("row " + id + " " + path + " allowed last=1 [" + path + "]");
  } else {
    out.push_back("row " + id + " " + path + " blocked last=-1 [" + path + "]");
    out.push_back("terminate " + id);
  }
  out.push_back("close " + id);
  return out;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Ids Range(std::uint32_t first, std::uint32_t last) {
  Ids ids;
  for (std::uint32_t id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

Ids With(Ids ids, std::size_t at, std::uint32_t id) {
  ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(at), id);
  return ids;
}

Ids Reversed(Ids ids) {
  std::reverse(ids.begin(), ids.end());
  return ids;
}

struct Tick {
  std::vector<std::optional<Ids>> lists;  // what this tick's enumerations see
  std::vector<std::string> effects;
  int lastEvent;
};

struct WatcherCase {
  const char* name;
  std::set<int> failOpen;
  std::set<int> block;
  std::map<int, int> emptyPathTries;
  bool reenter;
  std::vector<Tick> ticks;
};

const std::vector<std::string> kFirstTick = {"privilege", "enum 256", "enum 256"};
const std::vector<std::string> kQuietTick = {"enum 256"};

const WatcherCase kCases[] = {
    {"FirstTickTakesBaselineThenASecondSnapshot", {}, {}, {}, false,
     {{{Ids{4, 8, 12}, Ids{4, 8, 12, 16}}, Join({kFirstTick, Handled(16, true)}), 1},
      {{Ids{4, 8, 12, 16}}, kQuietTick, 1}}},
    {"FailedEnumerationChangesNothing", {}, {}, {}, false,
     {{{std::nullopt}, {"privilege", "enum 256"}, 0},
      {{Ids{4, 8}}, kFirstTick, 0},
      {{std::nullopt}, kQuietTick, 0},
      {{Ids{4, 8, 20}}, Join({kQuietTick, Handled(20, true)}), 1}}},
    {"BlockLeavesTheNextNewIdForTheNextTick", {}, {10}, {}, false,
     {{{Ids{4, 8}}, kFirstTick, 0},
      {{Ids{4, 10, 8, 11}}, Join({kQuietTick, Handled(10, false)}), -1},
      {{Ids{4, 8, 11}}, Join({kQuietTick, Handled(11, true)}), 1},
      {{Ids{4, 8, 11}}, kQuietTick, 1}}},
    {"TwoAllowedInSnapshotOrder", {}, {}, {}, false,
     {{{Ids{4, 8}}, kFirstTick, 0},
      {{Ids{4, 8, 11, 10}}, Join({kQuietTick, Handled(11, true), Handled(10, true)}), 1},
      {{Ids{4, 8, 11, 10}}, kQuietTick, 1}}},
    {"OpenFailureIsNeverLoggedNorExaminedAgain", {10}, {}, {}, false,
     {{{Ids{4, 8}}, kFirstTick, 0},
      {{Ids{4, 8, 10}}, Join({kQuietTick, {"open 10"}}), 0},
      {{Ids{4, 8, 10, 11}}, Join({kQuietTick, Handled(11, true)}), 1},
      {{Ids{4, 8, 10, 11}}, kQuietTick, 1}}},
    {"PathWaitStopsAtThePathOrAfterEightyTries", {}, {}, {{10, 3}, {11, kNeverReady}}, false,
     {{{Ids{4}}, {"privilege", "enum 256", "enum 256"}, 0},
      {{Ids{4, 10, 11}}, Join({kQuietTick, Handled(10, true, 4), Handled(11, true, 0)}), 1}}},
    {"TickFromInsideTheDecisionReturnsAtOnce", {}, {}, {}, true,
     {{{Ids{4}}, kFirstTick, 0},
      {{Ids{4, 10}}, Join({kQuietTick, Handled(10, true)}), 1},
      {{Ids{4, 10, 12}}, Join({kQuietTick, Handled(12, true)}), 1}}},
    {"StopAndRestartKeepTheBaseline", {}, {}, {}, false,
     {{{Ids{4, 8}}, kFirstTick, 0},
      // no ticks while stopped: 4 ended, 30 and 31 started meanwhile
      {{Ids{8, 30, 31}}, Join({kQuietTick, Handled(30, true), Handled(31, true)}), 1}}},
    {"ExactlyTheFirstBufferGrowsIt", {}, {}, {}, false,
     {{{Range(1, 256)}, {"privilege", "enum 256", "enum 512", "enum 512"}, 0},
      {{Range(1, 257)}, Join({{"enum 512"}, Handled(257, true)}), 1}}},
    {"MoreThan256EveryIdIsGuarded", {}, {}, {}, false,
     {{{Range(1, 300)}, {"privilege", "enum 256", "enum 512", "enum 512"}, 0},
      {{Range(1, 301)}, Join({{"enum 512"}, Handled(301, true)}), 1},
      // ids far back in the list move forward: nothing counts as new
      {{Reversed(Range(1, 301))}, {"enum 512"}, 1}}},
    {"MoreThan1024TheGrownBufferIsKept", {}, {}, {}, false,
     {{{Range(1, 1500)},
       {"privilege", "enum 256", "enum 512", "enum 1024", "enum 2048", "enum 2048"}, 0},
      {{With(Range(1, 1500), 700, 5000)}, Join({{"enum 2048"}, Handled(5000, true)}), 1},
      {{With(Range(1, 1500), 700, 5000)}, {"enum 2048"}, 1}}},
};

void PrintTo(const WatcherCase& c, std::ostream* os) { *os << c.name; }

class WatcherTable : public testing::TestWithParam<WatcherCase> {};

TEST_P(WatcherTable, EffectsComeInTheExpectedOrder) {
  const WatcherCase& c = GetParam();
  FakeSystem fake;
  fake.failOpen = c.failOpen;
  fake.block = c.block;
  fake.emptyPathTries = c.emptyPathTries;
  fake.reenter = c.reenter;
  WatcherState state;
  const ProcessControl ops = FakeControl(fake, state);
  DecideRoutine decide;
  decide = [&](int processId, const std::string& path) {
    fake.effects.push_back("decide " + std::to_string(processId) + " " + path + " [" +
                           state.CurrentVersionFields.description + "]");
    if (fake.reenter) WatchProcesses(state, ops, decide);
    return fake.block.count(processId) ? 0 : 1;
  };

  for (std::size_t t = 0; t < c.ticks.size(); ++t) {
    const Tick& tick = c.ticks[t];
    fake.lists.assign(tick.lists.begin(), tick.lists.end());
    fake.effects.clear();
    WatchProcesses(state, ops, decide);
    EXPECT_EQ(fake.effects, tick.effects) << "tick " << t + 1;
    EXPECT_EQ(state.LastEvent, tick.lastEvent) << "tick " << t + 1;
    EXPECT_EQ(state.WatcherBusy, 0) << "tick " << t + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Watcher, WatcherTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WatcherCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Watcher, TickWithNothingNewAllocatesNothing) {
  const Ids ids = Range(1, 1500);
  WatcherState state;
  ProcessControl ops;
  ops.enableDebugPrivilege = [] {};
  ops.enumerateProcessIds = [&ids](std::uint32_t* out, std::size_t capacity, std::size_t& written) {
    written = std::min(ids.size(), capacity);
    std::copy(ids.begin(), ids.begin() + written, out);
    return true;
  };
  ops.openProcess = [](int, ProcessHandle&) -> long {
    ADD_FAILURE() << "nothing is new";
    return 1;
  };
  const DecideRoutine decide = [](int, const std::string&) { return 1; };

  WatchProcesses(state, ops, decide);
  const std::size_t before = g_allocations;
  for (int i = 0; i < 10; ++i) WatchProcesses(state, ops, decide);
  EXPECT_EQ(g_allocations - before, 0u);
  EXPECT_EQ(state.baseline.size(), ids.size());
}

}  // namespace
