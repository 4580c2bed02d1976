// Icon extraction into the icon file, over real executables and files under Wine.
#include "icon_extraction_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "child_process.h"
#include "default_icon.h"
#include "fingerprint_lookups_win.h"
#include "write_whole_file.h"

namespace {

class IconExtraction : public testing::Test {
 protected:
  void SetUp() override { DeleteFileA(iconFile.c_str()); }
  void TearDown() override { DeleteFileA(iconFile.c_str()); }

  const std::string iconFile = PathBesideTest("extraction_test.ico");
  const std::string sampleIcon = ReadFileSharedForReading(PathBesideTest("sample_icon.ico"));
};

TEST_F(IconExtraction, TakesTheFirstIconGroupOfAnExecutable) {
  ASSERT_EQ(sampleIcon.size(), 2142u);
  // launch_child.exe carries sample_icon.ico as its icon: the images come back in the
  // group's order behind a directory built from their headers, PNG image included.
  std::string shown = ExtractAlertIcon(PathBesideTest("launch_child.exe"), iconFile);
  EXPECT_EQ(shown, sampleIcon);
  EXPECT_EQ(ReadFileSharedForReading(iconFile), sampleIcon);
}

TEST_F(IconExtraction, RewritesAnIconFileWithItsOwnDirectory) {
  std::string shown = ExtractAlertIcon(PathBesideTest("sample_icon_loose.ICO"), iconFile);
  EXPECT_EQ(shown, sampleIcon);
  EXPECT_EQ(ReadFileSharedForReading(iconFile), sampleIcon);
}

TEST_F(IconExtraction, ShowsTheDefaultWhenThereIsNoIcon) {
  std::string notAnIcon = PathBesideTest("not_an_icon.ico");
  ASSERT_TRUE(
      WriteWholeFile(notAnIcon, std::string("\0\0\2\0\1\0", 6) + std::string(40, 'x')));
  std::string otherEnding = PathBesideTest("sample_icon.png");
  ASSERT_TRUE(WriteWholeFile(otherEnding, sampleIcon));

  // An earlier alert's icon is in the file; none of these may show it.
  const std::string cases[] = {
      PathBesideTest("launch_parent.exe"),  // an executable without icons
      notAnIcon,                            // header not 0, 1, count
      otherEnding,                          // an icon, but not by its name
      PathBesideTest("missing.exe"),
      PathBesideTest("missing.ico"),
      "",
  };
  for (const std::string& path : cases) {
    ASSERT_EQ(ExtractAlertIcon(PathBesideTest("launch_child.exe"), iconFile), sampleIcon);
    EXPECT_EQ(ExtractAlertIcon(path, iconFile), DefaultIconFile()) << path;
  }
  DeleteFileA(notAnIcon.c_str());
  DeleteFileA(otherEnding.c_str());
}

TEST_F(IconExtraction, ShowsTheDefaultWhenTheIconFileCannotBeWritten) {
  std::string unwritable = PathBesideTest("no_such_folder\\1.ico");
  EXPECT_EQ(ExtractAlertIcon(PathBesideTest("launch_child.exe"), unwritable), DefaultIconFile());

  // Held open by someone who lets nobody else write: the old content must not be shown.
  ASSERT_TRUE(WriteWholeFile(iconFile, sampleIcon));
  HANDLE held = CreateFileA(iconFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ExtractAlertIcon(PathBesideTest("launch_child.exe"), iconFile), DefaultIconFile());
  CloseHandle(held);
}

}  // namespace
