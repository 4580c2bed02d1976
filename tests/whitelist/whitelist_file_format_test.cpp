#include "whitelist_file_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hex.h"
#include "two_entry_list.h"
#include "whitelist_container.h"

// A1 A1 is the full-width space.
#define FULL_SPACE "\xA1\xA1"

namespace {

// Containers enciphered outside this code: the framed bytes (built with Python's struct and
// the gbk codec) piped through `openssl enc -des-ecb -nopad -K 3a4e9ef68a866e06 -provider
// legacy -provider default`. The key itself was folded and bit-reversed in Python.
constexpr char kKeyHex[] = "3a4e9ef68a866e06";
constexpr char kAbcContainer[] = "a99712dc5cea1301";  // frame 03000000 61626300
constexpr char kOneEntryText[] = "C:\\a.exe|900150983cd24fb0d6963f7d28e17f72\r\n";
constexpr char kOneEntryContainer[] =
    "ec098acadde2428913c4574c78616cbccb35198bb0bc62985f6c46e4d9d6beed8341c342976264053b75d0bf7d7d"
    "7692";

}  // namespace

TEST(WhitelistContainer, KeyIsFoldedPasswordWithBitsReversed) {
  std::array<unsigned char, 8> key = WhitelistKey();
  EXPECT_EQ(HexFromBytes(std::string(key.begin(), key.end())), kKeyHex);
}

TEST(WhitelistContainer, MatchesIndependentCipher) {
  struct Case { std::string plain; const char* container; } cases[] = {
      {"abc", kAbcContainer},                  // 3 bytes, 1 padding byte
      {kOneEntryText, kOneEntryContainer},     // 43 bytes, 48-byte file
      {kTwoEntryText, kTwoEntryContainer},     // 92 bytes, no padding
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HexFromBytes(EncryptData(c.plain)), c.container) << c.plain;
    EXPECT_EQ(DecryptData(BytesFromHex(c.container)), c.plain) << c.plain;
  }
  EXPECT_EQ(EncryptData(""), "");
}

TEST(WhitelistContainer, RejectsBadContainers) {
  // Deciphered headers and lengths at and beyond each limit; the frames were enciphered with
  // openssl as above.
  struct Case { const char* why; std::string container; const char* plain; } cases[] = {
      {"empty", "", ""},
      {"12 bytes", BytesFromHex("a99712dc5cea1301a99712dc"), ""},
      {"header 0", BytesFromHex("f80d690ebe7358eb"), ""},            // 00000000 61626300
      {"header -1", BytesFromHex("b19e7c4611793958"), ""},           // ffffffff 61626300
      {"header 5 > L-4", BytesFromHex("0ab8d3aa86750c08"), ""},      // 05000000 61626364
      {"header 4 = L-4", BytesFromHex("3727c66131d844c1"), "abcd"},  // 04000000 61626364
      {"8 padding bytes", BytesFromHex("3727c66131d844c1cfd214f4e796abce"), ""},
      {"7 padding bytes", BytesFromHex("0ab8d3aa86750c081276bbc7d5803379"), "abcde"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecryptData(c.container), c.plain) << c.why;
}

TEST(WhitelistFile, JoinsEntriesInOrder) {
  EXPECT_EQ(JoinWhitelistText(TwoEntryList()), kTwoEntryText);
  EXPECT_EQ(JoinWhitelistText(Whitelist{}), "");
  EXPECT_EQ(HexFromBytes(EncodeWhitelistFile(TwoEntryList())), kTwoEntryContainer);
  EXPECT_EQ(EncodeWhitelistFile(Whitelist{}), "");
}

TEST(WhitelistFile, ParseTable) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  struct Case { const char* why; std::string text; Entries entries; } cases[] = {
      {"empty", "", {}},
      {"one line without CR LF", "a|1", {{"a", "1"}}},
      {"blank lines of both kinds", "   \r\n" FULL_SPACE FULL_SPACE "\r\n \r\na|1\r\n\r\n",
       {{"a", "1"}}},
      {"spaces kept around the path", "  C:\\a.exe " FULL_SPACE "|1\r\n",
       {{"  C:\\a.exe " FULL_SPACE, "1"}}},
      {"tab line is not blank", "\t|1\r\n", {{"\t", "1"}}},
      {"three fields", "a|1|extra\r\n", {{"a", "1"}}},
      {"line starting with |", "|1\r\n", {{"", "1"}}},
      {"empty middle field", "a||b\r\n", {{"a", ""}}},
      {"no separator", "just a path\r\nb|2\r\n", {{"b", "2"}}},
      {"separator at the end", "a|\r\n", {}},
      {"GBK trail byte 0x7C", "D:\\" SOFTWARE BAR_TRAIL ".exe|1\r\n",
       {{"D:\\" SOFTWARE BAR_TRAIL ".exe", "1"}}},
      {"zero byte in the middle", std::string("a|1\r\nb|2\0\r\nc|3\r\n", 16),
       {{"a", "1"}, {"b", "2"}}},
      {"lone CR stays in its line", "a\rb|1\r\n", {{"a\rb", "1"}}},
      {"lone LF stays in its line", "a|1\nb|2\r\n", {{"a", "1\nb"}}},
      {"order kept, repeats kept", "C|3\r\nA|1\r\nC|3\r\n", {{"C", "3"}, {"A", "1"}, {"C", "3"}}},
  };
  for (const auto& c : cases) {
    Entries got;
    for (const WhitelistEntry& entry : ParseWhitelistText(c.text)) {
      got.push_back({entry.path, entry.md5});
    }
    EXPECT_EQ(got, c.entries) << c.why;
  }
}

TEST(WhitelistFile, DecodeAppendsAfterExistingEntries) {
  Whitelist list;
  AppendLoadedEntry(list, "first", "0");
  DecodeWhitelistFile(BytesFromHex(kTwoEntryContainer), list);
  ASSERT_EQ(WhitelistCount(list), 3u);
  EXPECT_EQ(list.entries[2].path, "D:\\" SOFTWARE "\\" BAR_TRAIL ".exe");
  DecodeWhitelistFile(BytesFromHex("a99712dc5cea1301a99712dc"), list);  // damaged: adds none
  EXPECT_EQ(WhitelistCount(list), 3u);
}

TEST(WhitelistFile, PathWithBarSplitsOnReload) {
  Whitelist list;
  AppendLoadedEntry(list, "C:\\a|b.exe", "900150983cd24fb0d6963f7d28e17f72");
  Whitelist reloaded;
  DecodeWhitelistFile(EncodeWhitelistFile(list), reloaded);
  ASSERT_EQ(WhitelistCount(reloaded), 1u);
  EXPECT_EQ(reloaded.entries[0].path, "C:\\a");
  EXPECT_EQ(reloaded.entries[0].md5, "b.exe");
}
