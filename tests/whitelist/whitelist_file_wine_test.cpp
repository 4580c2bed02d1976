// list.db and the file look-ups on a real file system, beside this test executable.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>

#include "fingerprint_lookups_win.h"
#include "hex.h"
#include "md5.h"
#include "run_directory.h"
#include "two_entry_list.h"
#include "whitelist_file_win.h"
#include "write_whole_file.h"

namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class WhitelistFileTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAll(); }
  void TearDown() override { RemoveAll(); }
  void RemoveAll() {
    DeleteFileA(listPath.c_str());
    DeleteFileA(tempPath.c_str());
    RemoveDirectoryA(tempPath.c_str());
    DeleteFileA(samplePath.c_str());
  }
  std::string ListBytes() { return ReadFileSharedForReading(listPath); }

  std::string directory = RunDirectory();
  std::string listPath = directory + "\\list.db";
  std::string tempPath = directory + "\\list.db.tmp";
  std::string samplePath = directory + "\\whitelist sample.bin";
};

}  // namespace

TEST_F(WhitelistFileTest, SaveThenLoadKeepsEntriesAndOrder) {
  Whitelist list;
  AppendLoadedEntry(list, "A  ", "1");
  AppendLoadedEntry(list, "D:\\" SOFTWARE BAR_TRAIL ".exe", "2");
  AppendLoadedEntry(list, "C", "3");
  ASSERT_TRUE(SaveWhitelist(directory, list));
  EXPECT_FALSE(Exists(tempPath));
  Whitelist loaded;
  LoadWhitelist(directory, loaded);
  ASSERT_EQ(WhitelistCount(loaded), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(loaded.entries[i].path, list.entries[i].path);
    EXPECT_EQ(loaded.entries[i].md5, list.entries[i].md5);
  }
}

TEST_F(WhitelistFileTest, SavedBytesMatchIndependentCipher) {
  ASSERT_TRUE(SaveWhitelist(directory, TwoEntryList()));
  EXPECT_EQ(HexFromBytes(ListBytes()), kTwoEntryContainer);
}

TEST_F(WhitelistFileTest, EmptyListIsZeroByteFileAndBack) {
  ASSERT_TRUE(SaveWhitelist(directory, TwoEntryList()));
  ASSERT_TRUE(SaveWhitelist(directory, Whitelist{}));
  EXPECT_EQ(LookUpFileSize(listPath), 0);
  Whitelist loaded;
  LoadWhitelist(directory, loaded);
  EXPECT_EQ(WhitelistCount(loaded), 0u);
}

TEST_F(WhitelistFileTest, MissingOrDamagedFileLoadsNothingAndIsOverwritten) {
  Whitelist loaded;
  LoadWhitelist(directory, loaded);
  EXPECT_EQ(WhitelistCount(loaded), 0u);
  ASSERT_TRUE(WriteWholeFile(listPath, std::string(12, 'x')));
  LoadWhitelist(directory, loaded);
  EXPECT_EQ(WhitelistCount(loaded), 0u);
  ASSERT_TRUE(SaveWhitelist(directory, TwoEntryList()));
  EXPECT_EQ(HexFromBytes(ListBytes()), kTwoEntryContainer);
}

TEST_F(WhitelistFileTest, FailedSaveLeavesPreviousFileWhole) {
  ASSERT_TRUE(SaveWhitelist(directory, TwoEntryList()));
  Whitelist changed;
  AppendLoadedEntry(changed, "new", "0");

  // The new content cannot be written: a directory holds the temporary file's name.
  ASSERT_TRUE(CreateDirectoryA(tempPath.c_str(), nullptr));
  EXPECT_FALSE(SaveWhitelist(directory, changed));
  EXPECT_EQ(HexFromBytes(ListBytes()), kTwoEntryContainer);
  ASSERT_TRUE(RemoveDirectoryA(tempPath.c_str()));

  // list.db cannot be replaced: another handle holds it without sharing. The temporary file
  // is removed again.
  HANDLE held = CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveWhitelist(directory, changed));
  EXPECT_FALSE(Exists(tempPath));
  CloseHandle(held);
  EXPECT_EQ(HexFromBytes(ListBytes()), kTwoEntryContainer);

  // A stale temporary file left by an interrupted save does not stop the next one.
  ASSERT_TRUE(WriteWholeFile(tempPath, "stale"));
  ASSERT_TRUE(SaveWhitelist(directory, changed));
  Whitelist loaded;
  LoadWhitelist(directory, loaded);
  ASSERT_EQ(WhitelistCount(loaded), 1u);
  EXPECT_EQ(loaded.entries[0].path, "new");
}

TEST_F(WhitelistFileTest, AddReadsRealFilesWithinTheLimit) {
  constexpr size_t kLimit = 5242880;
  struct Case { size_t size; bool added; } cases[] = {
      {3, true}, {kLimit, true}, {kLimit + 1, false}};
  for (const auto& c : cases) {
    std::string content(c.size, 'k');
    ASSERT_TRUE(WriteWholeFile(samplePath, content));
    Whitelist list;
    EXPECT_EQ(AddWhitelistEntry(list, samplePath, WindowsFingerprintLookups()), c.added) << c.size;
    if (c.added) {
      ASSERT_EQ(WhitelistCount(list), 1u);
      EXPECT_EQ(list.entries[0].path, samplePath);
      EXPECT_EQ(list.entries[0].md5, Md5Text(content)) << c.size;
    }
  }
  std::string missing = directory + "\\no such file.exe";
  EXPECT_EQ(LookUpFileSize(missing), -1);
  Whitelist list;
  ASSERT_TRUE(AddWhitelistEntry(list, missing, WindowsFingerprintLookups()));
  EXPECT_EQ(list.entries[0].md5, Md5Text(""));
}

TEST_F(WhitelistFileTest, AddReadsWhileOthersReadButNotWhileTheyWrite) {
  ASSERT_TRUE(WriteWholeFile(samplePath, "abc"));
  HANDLE reader = CreateFileA(samplePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileSharedForReading(samplePath), "abc");
  CloseHandle(reader);

  HANDLE writer = CreateFileA(samplePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  Whitelist list;
  ASSERT_TRUE(AddWhitelistEntry(list, samplePath, WindowsFingerprintLookups()));
  EXPECT_EQ(list.entries[0].md5, Md5Text(""));
  CloseHandle(writer);
}

TEST_F(WhitelistFileTest, FilesOf4GiBAndMoreKeepTheirHighBits) {
  // A sparse file of 4 GiB + 100 bytes: its low 32 bits alone would read as 100.
  HANDLE file = CreateFileA(samplePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 0x100000064LL;
  DWORD ignored = 0;
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  EXPECT_EQ(LookUpFileSize(samplePath), 0x100000064LL);
  EXPECT_EQ(ReadFileSharedForReading(samplePath), "");
  Whitelist list;
  EXPECT_FALSE(AddWhitelistEntry(list, samplePath, WindowsFingerprintLookups()));
}
