#include "log_record.h"

#include <gtest/gtest.h>

TEST(LogRecord, TimeTextHasNoLeadingZeros) {
  struct Case { LocalTime time; const char* text; } cases[] = {
      {{2011, 10, 9, 8, 5, 7}, "2011.10.9-8:5:7"},
      {{2027, 1, 1, 0, 0, 0}, "2027.1.1-0:0:0"},
      {{2026, 12, 31, 23, 59, 59}, "2026.12.31-23:59:59"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatLogTime(c.time), c.text);
}

TEST(LogRecord, DetailTextIsTheNineLineTemplateByteForByte) {
  VersionFields fields{"1.0.0.1", "inner", "公司甲", "版权乙", "描述丙", "中文(中国)"};
  // Expected bytes spelled out in GBK hex, independent of the source file's literals:
  // 进=BD F8 程=B3 CC 名=C3 FB 路=C2 B7 径=BE B6 父=B8 B8 操=B2 D9 作=D7 F7 放=B7 C5 行=D0 D0
  // 公=B9 AB 司=CB BE 描=C3 E8 述=CA F6 版=B0 E6 权=C8 A8 文=CE C4 件=BC FE 本=B1 BE
  const std::string expected =
      "\xBD\xF8 \xB3\xCC \xC3\xFB: setup.exe\r\n"
      "\xBD\xF8 \xB3\xCC ID: 4242\r\n"
      "\xC2\xB7    \xBE\xB6: C:\\dl\\setup.exe\r\n"
      "\xB8\xB8 \xBD\xF8 \xB3\xCC: chrome.exe\r\n"
      "\xB2\xD9    \xD7\xF7: \xB7\xC5\xD0\xD0\r\n"
      "\xB9\xAB    \xCB\xBE: \xB9\xAB\xCB\xBE\xBC\xD7\r\n"
      "\xC3\xE8    \xCA\xF6: \xC3\xE8\xCA\xF6\xB1\xFB\r\n"
      "\xB0\xE6    \xC8\xA8: \xB0\xE6\xC8\xA8\xD2\xD2\r\n"
      "\xCE\xC4\xBC\xFE\xB0\xE6\xB1\xBE: 1.0.0.1";
  EXPECT_EQ(FormatDetailText(4242, "C:\\dl\\setup.exe", LogAction::Allowed, "setup.exe", "chrome.exe", fields),
            expected);
}

TEST(LogRecord, BlockedRowWithNothingKnownKeepsEveryLabel) {
  std::string text = FormatDetailText(7, "", LogAction::Blocked, "", "", VersionFields{});
  EXPECT_EQ(text,
            "进 程 名: \r\n进 程 ID: 7\r\n路    径: \r\n父 进 程: \r\n操    作: 拦截\r\n"
            "公    司: \r\n描    述: \r\n版    权: \r\n文件版本: ");
  EXPECT_EQ(LogActionText(LogAction::Blocked), "\xC0\xB9\xBD\xD8");
  EXPECT_EQ(LogActionText(LogAction::Allowed), "\xB7\xC5\xD0\xD0");
}
