#include "text_rules.h"

#include <gtest/gtest.h>

// GBK samples: 表 = B1 ED, 誉 = D3 FE; trail bytes that look like ASCII:
// 憒 = 91 7C ('|' as trail byte), 焅 = 9F 5C ('\' as trail byte); the full-width space A1 A1.
#define SP "\xA1\xA1"
#define BAR_TRAIL "\x91\x7C"
#define SLASH_TRAIL "\x9F\x5C"

TEST(TextRules, LowerAsciiLeavesDoubleByteCharactersAlone) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"IEXPLORE.EXE", "iexplore.exe"},
      {"Chrome.Exe", "chrome.exe"},
      // 0xC1 0x41: a lead byte whose trail byte is 'A' must not be lower-cased.
      {"\xC1" "A" "B", "\xC1" "A" "b"},
      {"\xB1\xED" "X", "\xB1\xED" "x"},
      {"AB\xC1", "ab\xC1"},  // lead byte at the very end stands alone
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LowerAscii(c.in), c.out) << c.in;
  EXPECT_TRUE(EqualsIgnoreCase("Shell_TrayWnd", "shell_traywnd"));
  EXPECT_FALSE(EqualsIgnoreCase("\xC1" "A", "\xC1" "a"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
}

TEST(TextRules, SpacesRemovedAndTrimmedButTabsKept) {
  struct Case { const char* in; const char* removed; const char* trimmed; } cases[] = {
      {"  1.0  ", "1.0", "1.0"},
      {SP "1.0" SP, "1.0", "1.0"},
      {" " SP " a b " SP, "ab", "a b"},
      {"a" SP "b", "ab", "a" SP "b"},
      {"\t1.0\t", "\t1.0\t", "\t1.0\t"},
      {"1.0 \t", "1.0\t", "1.0 \t"},
      {"   ", "", ""},
      {SP SP, "", ""},
      // B1 A1 is one character; only the A1 A1 after it is a full-width space.
      {"\xB1\xA1\xA1\xA1", "\xB1\xA1", "\xB1\xA1"},
      {"x \xB1", "x\xB1", "x \xB1"},  // lead byte at the very end
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveSpaces(c.in), c.removed) << c.in;
    EXPECT_EQ(TrimSpaces(c.in), c.trimmed) << c.in;
  }
  EXPECT_TRUE(IsBlankText(" " SP " "));
  EXPECT_TRUE(IsBlankText(""));
  EXPECT_FALSE(IsBlankText(" \t "));
}

TEST(TextRules, SplitScansCharacterByCharacter) {
  using V = std::vector<std::string>;
  struct Case { const char* in; const char* sep; V out; } cases[] = {
      {"a|b|c", "|", {"a", "b", "c"}},
      {"|b", "|", {"", "b"}},
      {"a||b", "|", {"a", "", "b"}},
      {"a|", "|", {"a"}},
      {"", "|", {}},
      {"C:\\" BAR_TRAIL ".exe|md5", "|", {"C:\\" BAR_TRAIL ".exe", "md5"}},
      {SLASH_TRAIL "\\x", "\\", {SLASH_TRAIL, "x"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"a\rb\nc\r\nd", "\r\n", {"a\rb\nc", "d"}},
      {"a\r\n\r\nb", "\r\n", {"a", "", "b"}},
      {"x|\x91", "|", {"x", "\x91"}},  // lead byte at the very end
  };
  for (const auto& c : cases) EXPECT_EQ(SplitText(c.in, c.sep), c.out) << c.in;
}

TEST(TextRules, DecimalHasNoLeadingZeros) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-1), "-1");
  EXPECT_EQ(DecimalText(4096), "4096");
  EXPECT_EQ(DecimalText(2147483647), "2147483647");
}
