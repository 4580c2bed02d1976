#include "whitelist.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "md5.h"

#define FULL_SPACE "\xA1\xA1"

namespace {

// A file system of named contents; sizes default to the content's length and can be set
// apart from it for files too large to hold.
struct FakeFiles {
  std::map<std::string, std::string> contents;
  std::map<std::string, long long> sizes;
  std::vector<std::string> reads;

  FingerprintLookups Lookups() {
    return {[this](const std::string& path) -> long long {
              if (sizes.count(path)) return sizes[path];
              return contents.count(path) ? static_cast<long long>(contents[path].size()) : -1;
            },
            [this](const std::string& path) {
              reads.push_back(path);
              return contents.count(path) ? contents[path] : std::string();
            }};
  }
};

std::vector<std::string> Paths(const Whitelist& list) {
  std::vector<std::string> paths;
  for (const WhitelistEntry& entry : list.entries) paths.push_back(entry.path);
  return paths;
}

}  // namespace

TEST(AddWhitelistEntry, SizeLimitAndBlankPaths) {
  constexpr long long kLimit = 5242880;
  struct Case { const char* path; long long size; bool added; } cases[] = {
      {"C:\\exact.exe", kLimit, true},
      {"C:\\over.exe", kLimit + 1, false},
      {"C:\\missing.exe", -1, true},  // not refused: fingerprinted as zero bytes
      // 2 GiB and 4 GiB + 100: as low 32 bits these would read as negative and as 100.
      {"C:\\huge.iso", 0x80000000LL, false},
      {"C:\\wrapped.iso", 0x100000064LL, false},
      {"", -1, false},
      {"   ", -1, false},
      {FULL_SPACE " " FULL_SPACE, -1, false},
      {"\t", -1, true},  // a tab is not a space
  };
  for (const auto& c : cases) {
    FakeFiles files;
    files.sizes[c.path] = c.size;
    Whitelist list;
    EXPECT_EQ(AddWhitelistEntry(list, c.path, files.Lookups()), c.added) << c.path;
    EXPECT_EQ(WhitelistCount(list), c.added ? 1u : 0u) << c.path;
    // A refused file is never read, so a huge one is never loaded into memory.
    EXPECT_EQ(files.reads.size(), c.added ? 1u : 0u) << c.path;
  }
}

TEST(AddWhitelistEntry, KeepsPathAsGivenAndFingerprintsContent) {
  FakeFiles files;
  files.contents[" C:\\Tools\\a.exe "] = "abc";
  Whitelist list;
  ASSERT_TRUE(AddWhitelistEntry(list, " C:\\Tools\\a.exe ", files.Lookups()));
  ASSERT_TRUE(AddWhitelistEntry(list, "C:\\gone.exe", files.Lookups()));
  ASSERT_EQ(WhitelistCount(list), 2u);
  EXPECT_EQ(list.entries[0].path, " C:\\Tools\\a.exe ");
  EXPECT_EQ(list.entries[0].md5, "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(list.entries[1].md5, Md5Text(""));
  EXPECT_TRUE(IsWhitelisted(list, "900150983cd24fb0d6963f7d28e17f72"));
}

TEST(IsWhitelisted, ExactTextOnly) {
  Whitelist list;
  EXPECT_FALSE(IsWhitelisted(list, Md5Text("")));
  AppendLoadedEntry(list, "a", "900150983cd24fb0d6963f7d28e17f72");
  AppendLoadedEntry(list, "b", "D41D8CD98F00B204E9800998ECF8427E");  // upper case as read
  EXPECT_TRUE(IsWhitelisted(list, "900150983cd24fb0d6963f7d28e17f72"));
  EXPECT_FALSE(IsWhitelisted(list, Md5Text("")));
  EXPECT_FALSE(IsWhitelisted(list, "900150983cd24fb0d6963f7d28e17f7"));
  EXPECT_FALSE(IsWhitelisted(list, ""));
}

TEST(RemoveWhitelistEntry, RemovesFirstMatchAndClosesTheGap) {
  Whitelist list;
  AppendLoadedEntry(list, "A", "1");
  AppendLoadedEntry(list, "B", "2");
  AppendLoadedEntry(list, "C", "3");
  AppendLoadedEntry(list, "B", "4");  // no uniqueness rule
  EXPECT_FALSE(RemoveWhitelistEntry(list, "b"));
  EXPECT_FALSE(RemoveWhitelistEntry(list, "D"));
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"A", "B", "C", "B"}));
  EXPECT_TRUE(RemoveWhitelistEntry(list, "B"));
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(list.entries[2].md5, "4");
  EXPECT_EQ(WhitelistCount(list), 3u);
}

TEST(RemoveWhitelistEntry, SameContentUnderTwoPathsStaysTrusted) {
  FakeFiles files;
  files.contents["C:\\one.exe"] = "same";
  files.contents["D:\\two.exe"] = "same";
  Whitelist list;
  ASSERT_TRUE(AddWhitelistEntry(list, "C:\\one.exe", files.Lookups()));
  ASSERT_TRUE(AddWhitelistEntry(list, "D:\\two.exe", files.Lookups()));
  EXPECT_EQ(list.entries[0].md5, list.entries[1].md5);
  ASSERT_TRUE(RemoveWhitelistEntry(list, "C:\\one.exe"));
  EXPECT_TRUE(IsWhitelisted(list, Md5Text("same")));
  ASSERT_TRUE(RemoveWhitelistEntry(list, "D:\\two.exe"));
  EXPECT_FALSE(IsWhitelisted(list, Md5Text("same")));
}
