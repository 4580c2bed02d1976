// The ICO reader and writer against small fixture icons, and the built-in default icon.
#include "icon_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "default_icon.h"

namespace {

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(KORVANE_LAUNCH_FIXTURES) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Entry {
  int width, height, colours, reserved, planes, bits;
  uint32_t size, offset;
};

uint32_t Little(const std::string& bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

Entry EntryAt(const std::string& ico, int index) {
  size_t at = 6 + 16 * index;
  return {uint8_t(ico[at]), uint8_t(ico[at + 1]), uint8_t(ico[at + 2]), uint8_t(ico[at + 3]),
          int(Little(ico, at + 4, 2)), int(Little(ico, at + 6, 2)), Little(ico, at + 8, 4),
          Little(ico, at + 12, 4)};
}

// A PNG image as far as its IHDR chunk; nothing reads further.
std::string PngHead(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  png += std::string("\0\0\0\x0dIHDR", 8);
  for (uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(char((v >> shift) & 0xFF));
  }
  png += {char(depth), char(colourType), 0, 0, 0};
  png += std::string(4, '\0');  // CRC, not checked
  return png;
}

TEST(IconFile, TellsTheSourceByTheLastThreeCharacters) {
  EXPECT_EQ(IconSourceOf("C:\\a\\setup.EXE"), IconSource::Resources);
  EXPECT_EQ(IconSourceOf("x.dll"), IconSource::Resources);
  EXPECT_EQ(IconSourceOf("x.Icl"), IconSource::Resources);
  EXPECT_EQ(IconSourceOf("C:\\pic.ico"), IconSource::IcoFile);
  EXPECT_EQ(IconSourceOf("C:\\tool.com"), IconSource::None);
  EXPECT_EQ(IconSourceOf("C:\\noext"), IconSource::None);
  EXPECT_EQ(IconSourceOf("ex"), IconSource::None);
  EXPECT_EQ(IconSourceOf(""), IconSource::None);
}

TEST(IconFile, RewritesAStandardIconUnchanged) {
  std::string ico = ReadFixture("sample_icon.ico");
  ASSERT_EQ(ico.size(), 2142u);
  std::vector<std::string> images = ReadIcoImages(ico);
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0].substr(0, 4), std::string("\x28\0\0\0", 4));
  EXPECT_EQ(images[2].substr(1, 3), "PNG");
  EXPECT_EQ(WriteIcoFile(images), ico);
}

TEST(IconFile, DirectoryComesFromTheImagesNotFromTheOldDirectory) {
  // Zeroed directory fields, gaps and a different data order in; the standard layout out.
  std::vector<std::string> images = ReadIcoImages(ReadFixture("sample_icon_loose.ico"));
  ASSERT_EQ(images.size(), 3u);
  std::string written = WriteIcoFile(images);
  EXPECT_EQ(written, ReadFixture("sample_icon.ico"));

  Entry bmp32 = EntryAt(written, 0), bmp4 = EntryAt(written, 1), png = EntryAt(written, 2);
  EXPECT_EQ((std::vector<int>{bmp32.width, bmp32.height, bmp32.colours, bmp32.planes, bmp32.bits}),
            (std::vector<int>{16, 16, 0, 1, 32}));
  EXPECT_EQ((std::vector<int>{bmp4.width, bmp4.height, bmp4.colours, bmp4.planes, bmp4.bits}),
            (std::vector<int>{16, 16, 16, 1, 4}));
  // 256 pixels is written as 0; the values come from IHDR, not from a bitmap header.
  EXPECT_EQ((std::vector<int>{png.width, png.height, png.colours, png.planes, png.bits}),
            (std::vector<int>{0, 0, 0, 1, 32}));
  EXPECT_EQ(bmp32.offset, 6u + 3 * 16);
  EXPECT_EQ(bmp4.offset, bmp32.offset + bmp32.size);
  EXPECT_EQ(png.offset, bmp4.offset + bmp4.size);
  EXPECT_EQ(written.size(), png.offset + png.size);
}

TEST(IconFile, PngSizesAndDepthsComeFromIhdr) {
  struct Case {
    uint32_t width, height;
    uint8_t depth, colourType;
    Entry expected;
  };
  const Case cases[] = {
      {48, 20, 8, 6, {48, 20, 0, 0, 1, 32, 0, 0}},   // RGBA
      {64, 64, 8, 2, {64, 64, 0, 0, 1, 24, 0, 0}},   // RGB
      {32, 32, 4, 3, {32, 32, 16, 0, 1, 4, 0, 0}},   // 16-colour palette
      {256, 128, 8, 4, {0, 128, 0, 0, 1, 16, 0, 0}}, // grey and alpha
  };
  for (const Case& c : cases) {
    std::string written = WriteIcoFile({PngHead(c.width, c.height, c.depth, c.colourType)});
    ASSERT_EQ(written.size(), 6u + 16 + 33) << c.width;
    Entry e = EntryAt(written, 0);
    EXPECT_EQ((std::vector<int>{e.width, e.height, e.colours, e.planes, e.bits}),
              (std::vector<int>{c.expected.width, c.expected.height, c.expected.colours,
                                c.expected.planes, c.expected.bits}))
        << c.width << "x" << c.height;
    EXPECT_EQ(e.size, 33u);
    EXPECT_EQ(e.offset, 22u);
  }
}

TEST(IconFile, LeavesOutImagesWithoutAReadableHeader) {
  std::string bmp = ReadIcoImages(ReadFixture("sample_icon.ico"))[1];
  std::string shortBitmap = bmp.substr(0, 39);
  std::string cutPng = PngHead(48, 48, 8, 6).substr(0, 20);
  std::string written = WriteIcoFile({shortBitmap, bmp, cutPng});
  ASSERT_EQ(Little(written, 4, 2), 1u);
  EXPECT_EQ(written.substr(22), bmp);
  EXPECT_EQ(WriteIcoFile({shortBitmap, cutPng}), "");
  EXPECT_EQ(WriteIcoFile({}), "");
}

TEST(IconFile, RefusesIcoFilesThatAreNotIcons) {
  std::string good = ReadFixture("sample_icon.ico");
  std::string cursor = good;
  cursor[2] = 2;  // type 2 is a cursor
  std::string reserved = good;
  reserved[0] = 1;
  std::string pastEnd = good;
  pastEnd[6 + 2 * 16 + 12] = char(0xF0);  // the PNG's offset now points past the end
  std::string noImages("\0\0\1\0\0\0", 6);
  struct Case {
    const char* title;
    std::string file;
  };
  const Case cases[] = {{"empty", ""},
                        {"header cut", good.substr(0, 5)},
                        {"directory cut", good.substr(0, 6 + 16 * 3 - 1)},
                        {"last image cut", good.substr(0, good.size() - 1)},
                        {"cursor", cursor},
                        {"reserved", reserved},
                        {"offset past end", pastEnd},
                        {"no images", noImages}};
  for (const Case& c : cases) EXPECT_TRUE(ReadIcoImages(c.file).empty()) << c.title;
}

TEST(IconFile, ReadsTheIdsOfAnIconGroupInItsOrder) {
  // GRPICONDIR: reserved, type, count; then 14-byte entries ending in the 16-bit id.
  std::string group("\0\0\1\0\3\0", 6);
  for (int id : {7, 2, 300}) {
    std::string entry(12, '\x10');
    entry.push_back(char(id & 0xFF));
    entry.push_back(char(id >> 8));
    group += entry;
  }
  EXPECT_EQ(GroupIconIds(group), (std::vector<int>{7, 2, 300}));
  EXPECT_EQ(GroupIconIds(group.substr(0, group.size() - 1)), (std::vector<int>{7, 2}));
  EXPECT_TRUE(GroupIconIds(group.substr(0, 4)).empty());
}

TEST(DefaultIcon, IsOne32By32ImageWithAlpha) {
  const std::string& ico = DefaultIconFile();
  ASSERT_EQ(ico.size(), 4286u);
  std::vector<std::string> images = ReadIcoImages(ico);
  ASSERT_EQ(images.size(), 1u);
  Entry e = EntryAt(ico, 0);
  EXPECT_EQ((std::vector<int>{e.width, e.height, e.colours, e.planes, e.bits}),
            (std::vector<int>{32, 32, 0, 1, 32}));
  EXPECT_EQ(e.offset, 22u);

  // Bottom-up BGRA rows after the 40-byte header: corners transparent, the middle opaque,
  // and soft edges in between.
  const std::string& image = images[0];
  auto alpha = [&image](int x, int y) { return uint8_t(image[40 + ((31 - y) * 32 + x) * 4 + 3]); };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(31, 0), 0);
  EXPECT_EQ(alpha(0, 31), 0);
  EXPECT_EQ(alpha(31, 31), 0);
  EXPECT_EQ(alpha(16, 16), 255);
  int partial = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) partial += alpha(x, y) > 0 && alpha(x, y) < 255;
  }
  EXPECT_GT(partial, 20);
  // Shield: wide at the top, narrowing to a point at the bottom.
  auto opaqueWidth = [&alpha](int y) {
    int n = 0;
    for (int x = 0; x < 32; ++x) n += alpha(x, y) == 255;
    return n;
  };
  EXPECT_GT(opaqueWidth(10), opaqueWidth(24));
  EXPECT_GT(opaqueWidth(24), opaqueWidth(28));
  // The AND mask marks exactly the fully transparent pixels.
  auto masked = [&image](int x, int y) {
    return (uint8_t(image[40 + 4096 + (31 - y) * 4 + x / 8]) >> (7 - x % 8)) & 1;
  };
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(masked(x, y) == 1, alpha(x, y) == 0) << x << "," << y;
  }
}

}  // namespace
