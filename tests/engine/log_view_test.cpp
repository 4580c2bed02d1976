#include "log_view.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include "process_lookups.h"

namespace {

struct LogViewFixture : ::testing::Test {
  HWND host = CreateWindowExA(0, "STATIC", "log", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 260,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND view = CreateLogView(host, 10, 31, 484, 179, 101);
  ~LogViewFixture() override { DestroyWindow(host); }
};

}  // namespace

TEST_F(LogViewFixture, HasFiveColumnsTheFifthHidden) {
  ASSERT_NE(view, nullptr);
  const char* headers[] = {"时间", "进程", "路径", "状态", ""};
  const int widths[] = {120, 120, 180, 100, 0};
  for (int i = 0; i < 5; ++i) {
    char text[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(view, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column))) << i;
    EXPECT_STREQ(text, headers[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }
  LVCOLUMNA none{};
  none.mask = LVCF_WIDTH;
  EXPECT_FALSE(SendMessageA(view, LVM_GETCOLUMNA, 5, reinterpret_cast<LPARAM>(&none)));
}

TEST_F(LogViewFixture, RowsAreAppendedWithNamesLookedUpWhenWritten) {
  ChildProcess running("versioned_child.exe");
  ChildProcess ended("idle_child.exe");
  int endedId = ended.id();
  ended.End();

  VersionFields fields;
  fields.company = "北京测试软件有限公司";
  fields.description = "描述";
  fields.copyright = "C";
  fields.fileVersion = "2.5.0.7";
  AppendLogRow(view, running.id(), running.path, LogAction::Allowed, fields);
  AppendLogRow(view, endedId, "", LogAction::Blocked, VersionFields{});

  ASSERT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 2);
  // Row 0: a running process with a parent (this test).
  std::string time = ReadLogCellText(view, 0, 0);
  EXPECT_NE(time.find('.'), std::string::npos);
  EXPECT_NE(time.find('-'), std::string::npos);
  EXPECT_EQ(ReadLogCellText(view, 0, 1), "versioned_child.exe");
  EXPECT_EQ(ReadLogCellText(view, 0, 2), running.path);
  EXPECT_EQ(ReadLogCellText(view, 0, 3), "放行");
  EXPECT_EQ(ReadLogCellText(view, 0, 4),
            "进 程 名: versioned_child.exe\r\n进 程 ID: " + std::to_string(running.id()) +
                "\r\n路    径: " + running.path + "\r\n父 进 程: log_view_test.exe" +
                "\r\n操    作: 放行\r\n公    司: 北京测试软件有限公司\r\n描    述: 描述" +
                "\r\n版    权: C\r\n文件版本: 2.5.0.7");
  // Row 1: an ended process still gets its row, with empty names and path.
  EXPECT_EQ(ReadLogCellText(view, 1, 1), "");
  EXPECT_EQ(ReadLogCellText(view, 1, 2), "");
  EXPECT_EQ(ReadLogCellText(view, 1, 3), "拦截");
  EXPECT_EQ(ReadLogCellText(view, 1, 4),
            "进 程 名: \r\n进 程 ID: " + std::to_string(endedId) +
                "\r\n路    径: \r\n父 进 程: \r\n操    作: 拦截\r\n公    司: \r\n描    述: "
                "\r\n版    权: \r\n文件版本: ");
  // Texts longer than a first guess of buffer come back whole.
  std::string longPath = "C:\\" + std::string(700, 'x') + ".exe";
  AppendLogRow(view, endedId, longPath, LogAction::Blocked, VersionFields{});
  EXPECT_EQ(ReadLogCellText(view, 2, 2), longPath);
  EXPECT_NE(ReadLogCellText(view, 2, 4).find(longPath), std::string::npos);
  EXPECT_EQ(ReadLogCellText(view, 3, 0), "");  // no such row
}
