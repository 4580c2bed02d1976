// Checks the built korvane.exe as Windows sees it: a 64-bit GUI program with its version
// resource, its three-image icon and a manifest that selects common controls 6.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_lookups.h"

namespace {

std::string KorvaneExePath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  dir = dir.substr(0, dir.find_last_of('\\'));        // ...\testbin
  return dir.substr(0, dir.find_last_of('\\')) + "\\korvane.exe";  // the build folder
}

// The bytes of resource 1 of the given type in korvane.exe; empty when it has none.
std::string ResourceOne(const char* type) {
  HMODULE exe = LoadLibraryExA(KorvaneExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) return {};
  std::string bytes;
  if (HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), type)) {
    auto data = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    if (data) bytes.assign(data, SizeofResource(exe, found));
  }
  FreeLibrary(exe);
  return bytes;
}

}  // namespace

TEST(KorvaneExe, IsA64BitGuiProgram) {
  HANDLE file = CreateFileA(KorvaneExePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::vector<char> head(4096);
  DWORD read = 0;
  ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
  CloseHandle(file);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(head.data() + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(KorvaneExe, VersionResourceReads1_1_10_31AndKorvane) {
  std::string path = KorvaneExePath();
  VersionFields fields = ReadVersionFields(path);
  EXPECT_EQ(fields.fileVersion, "1.1.10.31");
  EXPECT_EQ(fields.description, "Korvane");

  DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(31, 10));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(31, 10));
  char* product = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080404B0\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, "Korvane");
}

TEST(KorvaneExe, IconHasSixteenThirtyTwoAndFortyEightPixelImages) {
  std::string group = ResourceOne(MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
  ASSERT_EQ(count, 3);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::vector<int> widths;
  for (int i = 0; i < count; ++i) widths.push_back(static_cast<unsigned char>(group[6 + 14 * i]));
  EXPECT_EQ(widths, (std::vector<int>{16, 32, 48}));  // GRPICONDIRENTRY.bWidth
}

TEST(KorvaneExe, ManifestSelectsCommonControlsSix) {
  std::string xml = ResourceOne(MAKEINTRESOURCEA(24));  // RT_MANIFEST
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(xml.find("version=\"6.0.0.0\""), std::string::npos);
}
