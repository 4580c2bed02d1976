// The launch rule over a scripted system: a process table, files and a whitelist.
#include "launch_rule.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <vector>

namespace {

struct FakeProcess {
  std::string name;
  int parentId;
  int64_t created;  // -1: unknown
};

struct FakeFile {
  int32_t size;
  std::string content;
};

struct FakeSystem {
  std::map<int, FakeProcess> processes;
  std::map<std::string, FakeFile> files;
  std::set<std::string> whitelist;  // md5 texts
  int workMode = 0;
  int userAnswer = 1;
  VersionFields fields;

  std::vector<std::string> calls;
  std::vector<LaunchAlertTexts> alerts;

  LaunchLookups Lookups() {
    LaunchLookups l;
    l.processName = [this](int id) {
      calls.push_back("name " + std::to_string(id));
      auto it = processes.find(id);
      return it == processes.end() ? std::string() : it->second.name;
    };
    l.parentId = [this](int id) {
      calls.push_back("parent " + std::to_string(id));
      auto it = processes.find(id);
      return it == processes.end() ? -1 : it->second.parentId;
    };
    l.creationTime = [this](int id) -> int64_t {
      calls.push_back("created " + std::to_string(id));
      auto it = processes.find(id);
      return it == processes.end() ? -1 : it->second.created;
    };
    l.fileSize = [this](const std::string& path) {
      calls.push_back("size " + path);
      auto it = files.find(path);
      return it == files.end() ? -1 : it->second.size;
    };
    l.readWholeFile = [this](const std::string& path) {
      calls.push_back("read " + path);
      auto it = files.find(path);
      return it == files.end() ? std::string() : it->second.content;
    };
    l.md5Text = [this](const std::string& bytes) {
      calls.push_back("md5");
      return "md5(" + bytes + ")";
    };
    l.isWhitelisted = [this](const std::string& md5) {
      calls.push_back("listed " + md5);
      return whitelist.count(md5) > 0;
    };
    l.workMode = [this] {
      calls.push_back("mode");
      return workMode;
    };
    l.versionFields = [this] { return fields; };
    l.askUser = [this](const LaunchAlertTexts& texts) {
      calls.push_back("ask");
      alerts.push_back(texts);
      return userAnswer;
    };
    return l;
  }

  int Decide(int id, const std::string& path) { return DecideLaunchWith(Lookups(), id, path); }

  int CountCalls(const std::string& prefix) const {
    int n = 0;
    for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }
};

const std::string kChildPath = "C:\\Downloads\\setup.exe";
constexpr int kParent = 400;
constexpr int kChild = 512;

struct RuleCase {
  const char* title;
  std::string parentName;
  std::string childName;
  int64_t parentCreated;
  int64_t childCreated;
  std::string path;
  int32_t size;
  bool listed;
  int workMode;
  int userAnswer;
  int expectedVerdict;
  bool expectHashed;
  bool expectAsked;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.title; }

class LaunchRuleTable : public testing::TestWithParam<RuleCase> {};

TEST_P(LaunchRuleTable, GivesTheVerdict) {
  const RuleCase& c = GetParam();
  FakeSystem system;
  system.processes[kParent] = {c.parentName, 4, c.parentCreated};
  system.processes[kChild] = {c.childName, kParent, c.childCreated};
  system.files[kChildPath] = {c.size, "payload"};
  if (c.listed) system.whitelist.insert("md5(payload)");
  system.workMode = c.workMode;
  system.userAnswer = c.userAnswer;

  EXPECT_EQ(system.Decide(kChild, c.path), c.expectedVerdict);
  EXPECT_EQ(system.CountCalls("md5") == 1, c.expectHashed);
  EXPECT_EQ(system.alerts.size() == 1, c.expectAsked);
  EXPECT_LE(system.CountCalls("mode"), 1);  // read once at most
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchRuleTable,
    testing::Values(
        RuleCase{"ParentInCapitals", "IEXPLORE.EXE", "setup.exe", 1, 2, kChildPath, 900, false, 0, 0, 0, true, true},
        RuleCase{"ParentInCapitalsAllowedByUser", "IEXPLORE.EXE", "setup.exe", 1, 2, kChildPath, 900, false, 0, 1, 1, true, true},
        RuleCase{"BrowserStartsItselfInOtherCase", "iexplore.exe", "IEXPLORE.exe", 1, 2, kChildPath, 900, false, 1, 0, 1, false, false},
        RuleCase{"ChromeParent", "chrome.exe", "setup.exe", 1, 2, kChildPath, 900, false, 0, 1, 1, true, true},
        RuleCase{"OperaParentStrict", "Opera.exe", "setup.exe", 1, 2, kChildPath, 900, false, 1, 1, 0, true, false},
        RuleCase{"FirefoxIsNoBrowserHere", "firefox.exe", "setup.exe", 1, 2, kChildPath, 900, false, 1, 0, 1, false, false},
        RuleCase{"BrowserNameMustBeWhole", "chrome.exe.bak", "setup.exe", 1, 2, kChildPath, 900, false, 1, 0, 1, false, false},
        RuleCase{"ListedNormal", "chrome.exe", "setup.exe", 1, 2, kChildPath, 900, true, 0, 0, 1, true, false},
        RuleCase{"ListedStrict", "chrome.exe", "setup.exe", 1, 2, kChildPath, 900, true, 1, 0, 1, true, false},
        RuleCase{"StrictNotListed", "chrome.exe", "setup.exe", 1, 2, kChildPath, 900, false, 1, 1, 0, true, false},
        RuleCase{"OtherModeCountsAsNormal", "chrome.exe", "setup.exe", 1, 2, kChildPath, 900, false, 2, 1, 1, true, true},
        RuleCase{"JustBelowLimitIsLookedUp", "chrome.exe", "setup.exe", 1, 2, kChildPath, 5242879, true, 1, 0, 1, true, false},
        RuleCase{"AtLimitNotLookedUpNormal", "chrome.exe", "setup.exe", 1, 2, kChildPath, 5242880, true, 0, 0, 0, false, true},
        RuleCase{"AtLimitNotLookedUpStrict", "chrome.exe", "setup.exe", 1, 2, kChildPath, 5242880, true, 1, 1, 0, false, false},
        RuleCase{"HugeFileNotLookedUp", "chrome.exe", "setup.exe", 1, 2, kChildPath, std::numeric_limits<int32_t>::max(), true, 1, 1, 0, false, false},
        // The browser holding the recorded parent id started after the child: the real
        // parent has ended, so the child is not a browser's.
        RuleCase{"ReusedParentId", "chrome.exe", "setup.exe", 300, 200, kChildPath, 900, false, 1, 0, 1, false, false},
        RuleCase{"ParentCreatedSameTime", "chrome.exe", "setup.exe", 200, 200, kChildPath, 900, false, 1, 1, 0, true, false},
        RuleCase{"ParentTimeUnknown", "chrome.exe", "setup.exe", -1, 200, kChildPath, 900, false, 1, 1, 0, true, false},
        RuleCase{"ChildTimeUnknown", "chrome.exe", "setup.exe", 300, -1, kChildPath, 900, false, 1, 1, 0, true, false}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.title); });

TEST(LaunchRule, LooksThingsUpInOrder) {
  FakeSystem system;
  system.processes[kParent] = {"chrome.exe", 4, 10};
  system.processes[kChild] = {"setup.exe", kParent, 20};
  system.files[kChildPath] = {7, "payload"};
  system.Decide(kChild, kChildPath);
  std::vector<std::string> expected = {
      "name 512",  "parent 512", "created 400", "created 512", "name 400",
      "size " + kChildPath, "read " + kChildPath, "md5", "listed md5(payload)", "mode", "ask"};
  EXPECT_EQ(system.calls, expected);
}

TEST(LaunchRule, NoParentMeansNoFileAccess) {
  FakeSystem system;
  system.processes[kChild] = {"setup.exe", 999, 20};  // 999 is not running
  EXPECT_EQ(system.Decide(kChild, kChildPath), 1);
  EXPECT_EQ(system.CountCalls("size"), 0);
  EXPECT_EQ(system.CountCalls("read"), 0);

  FakeSystem orphan;
  orphan.processes[kChild] = {"setup.exe", -1, 20};
  EXPECT_EQ(orphan.Decide(kChild, kChildPath), 1);
  EXPECT_EQ(orphan.CountCalls("name"), 1);  // the parent's name is not asked for id -1
}

TEST(LaunchRule, FillsTheAlert) {
  FakeSystem system;
  system.processes[kParent] = {"chrome.exe", 4, 10};
  system.processes[kChild] = {"setup.exe", kParent, 20};
  system.files[kChildPath] = {7, "payload"};
  system.fields.company = "北京测试软件有限公司";
  system.fields.description = "安装程序";
  system.fields.fileVersion = "2.5.0.7";
  system.fields.internalName = "not shown";

  system.Decide(kChild, kChildPath);
  ASSERT_EQ(system.alerts.size(), 1u);
  const LaunchAlertTexts& alert = system.alerts[0];
  EXPECT_EQ(alert.caption, "拦截到 setup.exe 创建");
  EXPECT_EQ(alert.processLabel, "setup.exe  [PID]：512");
  EXPECT_EQ(alert.pathBox, kChildPath);
  EXPECT_EQ(alert.executablePath, kChildPath);
  EXPECT_EQ(alert.parentBox, "chrome.exe  [PID]：400");
  EXPECT_EQ(alert.details,
            "公司名称：北京测试软件有限公司\r\n文件描述：安装程序\r\n文件版本：2.5.0.7");
}

TEST(LaunchRule, EmptyPathHashesNothingAndSaysSo) {
  FakeSystem system;
  system.processes[kParent] = {"chrome.exe", 4, 10};
  system.processes[kChild] = {"", kParent, 20};
  system.whitelist.insert("md5()");  // the fingerprint of no bytes is listed
  EXPECT_EQ(system.Decide(kChild, ""), 1);

  system.whitelist.clear();
  system.alerts.clear();
  system.userAnswer = 0;
  EXPECT_EQ(system.Decide(kChild, ""), 0);
  ASSERT_EQ(system.alerts.size(), 1u);
  EXPECT_EQ(system.alerts[0].pathBox, "没有获取到文件路劲");
  EXPECT_EQ(system.alerts[0].executablePath, "");
  EXPECT_EQ(system.alerts[0].caption, "拦截到  创建");
  EXPECT_EQ(system.alerts[0].details, "公司名称：\r\n文件描述：\r\n文件版本：");
}

TEST(LaunchRule, ClampsFileSizesToSigned32Bits) {
  EXPECT_EQ(ClampFileSize(0), 0);
  EXPECT_EQ(ClampFileSize(5242880), 5242880);
  EXPECT_EQ(ClampFileSize(0x7FFFFFFFull), 0x7FFFFFFF);
  // 2 GiB would wrap negative and 4 GiB + 100 would wrap to 100: both must stay above the limit.
  EXPECT_EQ(ClampFileSize(0x80000000ull), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ClampFileSize(0x100000064ull), std::numeric_limits<int32_t>::max());
}

}  // namespace
