#include "icon_picture.h"

#include <algorithm>
#include <cstdint>

#include "ico_directory.h"

namespace {

constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::size_t kPngHeaderSize = 24;  // signature and the IHDR chunk's width and height
constexpr int kLargestSide = 1024;  // more than any icon; keeps the byte counts small

// Bytes per row of a bitmap, rows padded to 32 bits.
std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

std::optional<IconImage> ReadPngImage(std::string_view image) {
  if (image.size() < kPngHeaderSize) return std::nullopt;
  std::uint32_t width = ReadBig32(image, 16);
  std::uint32_t height = ReadBig32(image, 20);
  if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) {
    return std::nullopt;
  }
  return IconImage{0, 0, static_cast<int>(width), static_cast<int>(height), 0};
}

// A bitmap icon image: header, colour table, colour bits and the one-bit mask, all inside.
std::optional<IconImage> ReadBitmapImage(std::string_view image) {
  if (image.size() < kBitmapHeaderSize) return std::nullopt;
  std::uint32_t headerSize = ReadLittle(image, 0, 4);
  auto width = static_cast<std::int32_t>(ReadLittle(image, 4, 4));
  auto doubledHeight = static_cast<std::int32_t>(ReadLittle(image, 8, 4));
  std::uint32_t planes = ReadLittle(image, 12, 2);
  std::uint32_t bitCount = ReadLittle(image, 14, 2);
  std::uint32_t compression = ReadLittle(image, 16, 4);
  std::uint32_t usedColours = ReadLittle(image, 32, 4);
  bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 ||
                    bitCount == 32;
  if (headerSize < kBitmapHeaderSize || headerSize > image.size() || planes != 1 ||
      !knownDepth || compression != 0 || width <= 0 || width > kLargestSide ||
      doubledHeight <= 0 || doubledHeight % 2 != 0 || doubledHeight / 2 > kLargestSide) {
    return std::nullopt;
  }
  std::uint64_t height = static_cast<std::uint64_t>(doubledHeight) / 2;
  std::uint64_t paletteEntries = 0;
  if (bitCount <= 8) {
    std::uint64_t full = std::uint64_t{1} << bitCount;
    paletteEntries = usedColours == 0 || usedColours > full ? full : usedColours;
  }
  std::uint64_t needed = headerSize + paletteEntries * 4 + RowBytes(width, bitCount) * height +
                         RowBytes(width, 1) * height;
  if (needed > image.size()) return std::nullopt;
  return IconImage{0, 0, width, static_cast<int>(height), static_cast<int>(bitCount)};
}

}  // namespace

std::vector<IconImage> ReadIconImages(std::string_view ico) {
  std::vector<IconImage> images;
  int count = IcoImageCount(ico);
  for (int i = 0; i < count; ++i) {
    if (kIcoHeaderSize + (i + 1) * kIcoEntrySize > ico.size()) break;
    auto [offset, size] = IcoEntryAt(ico, i);
    if (size == 0 || offset > ico.size() || size > ico.size() - offset) continue;
    std::string_view bytes = ico.substr(offset, size);
    std::optional<IconImage> image = IsPngImage(bytes) ? ReadPngImage(bytes) : ReadBitmapImage(bytes);
    if (!image) continue;
    image->offset = offset;
    image->size = size;
    images.push_back(*image);
  }
  return images;
}

std::optional<IconImage> ChooseIconImage(const std::vector<IconImage>& images, int boxSize) {
  auto fits = [boxSize](const IconImage& image) {
    return image.width <= boxSize && image.height <= boxSize;
  };
  auto area = [](const IconImage& image) {
    return static_cast<long long>(image.width) * image.height;
  };
  // A PNG image is stored in full colour.
  auto depth = [](const IconImage& image) { return image.bitCount == 0 ? 32 : image.bitCount; };
  std::optional<IconImage> best;
  for (const IconImage& image : images) {
    if (!best) {
      best = image;
      continue;
    }
    bool better;
    if (fits(image) != fits(*best)) {
      better = fits(image);
    } else if (area(image) != area(*best)) {
      better = fits(image) ? area(image) > area(*best) : area(image) < area(*best);
    } else {
      better = depth(image) > depth(*best);
    }
    if (better) best = image;
  }
  return best;
}

PicturePlace FitIntoBox(int width, int height, int boxSize) {
  if (width <= 0 || height <= 0) return {};
  int shownWidth = width;
  int shownHeight = height;
  if (width > boxSize || height > boxSize) {
    // Scale by the longer side; the shorter one is rounded to the nearest pixel.
    if (width >= height) {
      shownWidth = boxSize;
      shownHeight = std::max(1, static_cast<int>((static_cast<long long>(height) * boxSize +
                                                  width / 2) / width));
    } else {
      shownHeight = boxSize;
      shownWidth = std::max(1, static_cast<int>((static_cast<long long>(width) * boxSize +
                                                 height / 2) / height));
    }
  }
  return {(boxSize - shownWidth) / 2, (boxSize - shownHeight) / 2, shownWidth, shownHeight};
}
