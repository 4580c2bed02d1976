#include "process_lookups.h"

#include <gtest/gtest.h>

#include "child_process.h"

namespace {

// The module path of a new process becomes readable a few tens of milliseconds after it starts.
std::string WaitForImagePath(int id) {
  for (int i = 0; i < 500; ++i) {
    std::string path = ImagePathById(id);
    if (!path.empty()) return path;
    Sleep(2);
  }
  return {};
}

bool SamePath(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

}  // namespace

TEST(ProcessLookups, FindsAStartedChildByNamePathAndParent) {
  ChildProcess child("idle_child.exe");
  ASSERT_NE(child.id(), 0);
  EXPECT_EQ(ProcessNameById(child.id()), "idle_child.exe");
  std::string path = WaitForImagePath(child.id());
  EXPECT_TRUE(SamePath(path, child.path)) << path << " vs " << child.path;
  EXPECT_EQ(ParentProcessId(child.id()), static_cast<int>(GetCurrentProcessId()));
  EXPECT_EQ(ProcessNameById(static_cast<int>(GetCurrentProcessId())), "process_lookups_test.exe");
}

TEST(ProcessLookups, TwoProcessesOfOneNameAreTellApartById) {
  ChildProcess first("idle_child.exe");
  ChildProcess second("versioned_child.exe");
  EXPECT_EQ(ProcessNameById(first.id()), "idle_child.exe");
  EXPECT_EQ(ProcessNameById(second.id()), "versioned_child.exe");
}

TEST(ProcessLookups, AnIdThatIsGoneGivesEmptyTextsAndMinusOne) {
  ChildProcess child("idle_child.exe");
  int id = child.id();
  child.End();
  EXPECT_EQ(ProcessNameById(id), "");
  EXPECT_EQ(ImagePathById(id), "");
  EXPECT_EQ(ParentProcessId(id), -1);
  EXPECT_EQ(ProcessNameById(-1), "");
  EXPECT_EQ(ParentProcessId(-1), -1);
}

TEST(ProcessLookups, VersionFieldsAreTrimmedOfBothSpaceKindsButKeepTabs) {
  VersionFields fields = ReadVersionFields(PathBesideTest("versioned_child.exe"));
  EXPECT_EQ(fields.fileVersion, "2.5.0.7");
  EXPECT_EQ(fields.internalName, "versioned");
  EXPECT_EQ(fields.company, "北京测试软件有限公司");
  EXPECT_EQ(fields.copyright, "版权所有 (C) 2026\t");
  EXPECT_EQ(fields.description, "");  // spaces only
  char expectedLanguage[261] = {};
  VerLanguageNameA(0x0804, expectedLanguage, 255);
  EXPECT_EQ(fields.language, expectedLanguage);
  EXPECT_FALSE(fields.language.empty());
}

TEST(ProcessLookups, NoVersionResourceOrNoFileGivesSixEmptyTexts) {
  for (const std::string& path : {PathBesideTest("idle_child.exe"), PathBesideTest("missing.exe"),
                                  std::string()}) {
    EXPECT_EQ(ReadVersionFields(path), VersionFields{}) << path;
  }
}
