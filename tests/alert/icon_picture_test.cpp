#include "icon_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "ico_bytes.h"

namespace {

const PixelColour kRed = SolidColour(0xffff0000);

TEST(ReadIconImages, ListsEveryCompleteImage) {
  std::string ico = IcoFile({{16, 16, kRed}, {48, 48, kRed}, {256, 256, kRed, true}});
  std::vector<IconImage> images = ReadIconImages(ico);
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[0].width, 16);
  EXPECT_EQ(images[0].offset, 6u + 3 * 16);
  EXPECT_EQ(images[0].size, 40u + 16 * 16 * 4 + 4 * 16);
  EXPECT_EQ(images[1].height, 48);
  EXPECT_EQ(images[1].bitCount, 32);
  EXPECT_EQ(images[2].width, 256);  // from the PNG header, not the directory's 0
  EXPECT_EQ(images[2].bitCount, 0);
}

// Damaged files come from other programs' executables: nothing outside the bytes is read.
TEST(ReadIconImages, SkipsWhatIsDamaged) {
  std::string good = IcoFile({{32, 32, kRed}});
  struct Case {
    const char* name;
    std::string bytes;
    size_t images;
  };
  std::string badType = good;
  badType[2] = 2;  // a cursor file
  std::string moreEntriesThanBytes = good;
  moreEntriesThanBytes[4] = 9;
  std::string offsetPastEnd = good;
  offsetPastEnd[6 + 12] = static_cast<char>(0xff);
  offsetPastEnd[6 + 13] = static_cast<char>(0xff);
  std::string sizePastEnd = good;
  sizePastEnd[6 + 10] = 1;  // 64 KiB more than there is
  std::string hugeWidth = good;
  hugeWidth[6 + 16 + 4 + 3] = 0x40;
  std::string oddHeight = good;
  oddHeight[6 + 16 + 8] = 63;
  std::string unknownDepth = good;
  unknownDepth[6 + 16 + 14] = 7;
  const Case cases[] = {
      {"good", good, 1},
      {"empty", "", 0},
      {"headerOnly", good.substr(0, 6), 0},
      {"cursor", badType, 0},
      {"truncatedImage", good.substr(0, good.size() - 1), 0},
      {"moreEntriesThanBytes", moreEntriesThanBytes, 1},
      {"offsetPastEnd", offsetPastEnd, 0},
      {"sizePastEnd", sizePastEnd, 0},
      {"hugeWidth", hugeWidth, 0},
      {"oddHeight", oddHeight, 0},
      {"unknownDepth", unknownDepth, 0},
      {"shortPng", IcoFile({{32, 32, kRed, true}}).substr(0, 6 + 16 + 20), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadIconImages(c.bytes).size(), c.images);
  }
}

TEST(ChooseIconImage, PrefersTheLargestThatFitsElseTheSmallestToShrink) {
  struct Case {
    const char* name;
    std::vector<IconImage> images;
    int width;
    int bitCount;
  };
  auto image = [](int side, int bits) { return IconImage{0, 0, side, side, bits}; };
  const Case cases[] = {
      {"exactFit", {image(16, 32), image(48, 32), image(256, 0)}, 48, 32},
      {"smallerOnly", {image(16, 8), image(32, 8)}, 32, 8},
      {"largerOnly", {image(256, 0), image(64, 32), image(128, 32)}, 64, 32},
      {"moreColoursWin", {image(32, 4), image(32, 32), image(32, 8)}, 32, 32},
      {"pngCountsAsFullColour", {image(32, 8), image(32, 0)}, 32, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<IconImage> chosen = ChooseIconImage(c.images, 48);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->width, c.width);
    EXPECT_EQ(chosen->bitCount, c.bitCount);
  }
  EXPECT_FALSE(ChooseIconImage({}, 48));
}

TEST(FitIntoBox, CentresShrinksLargeNeverEnlargesSmall) {
  struct Case {
    int width, height;
    int left, top, shownWidth, shownHeight;
  };
  const Case cases[] = {
      {48, 48, 0, 0, 48, 48},   {32, 32, 8, 8, 32, 32},   {16, 24, 16, 12, 16, 24},
      {256, 256, 0, 0, 48, 48}, {96, 48, 0, 12, 48, 24},  {50, 100, 12, 0, 24, 48},
      {49, 10, 0, 19, 48, 10},  {1000, 1, 0, 23, 48, 1},  {0, 32, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    PicturePlace place = FitIntoBox(c.width, c.height, 48);
    EXPECT_EQ(place.left, c.left);
    EXPECT_EQ(place.top, c.top);
    EXPECT_EQ(place.width, c.shownWidth);
    EXPECT_EQ(place.height, c.shownHeight);
  }
}

}  // namespace
