// Picks the image of an ICO file that the alert's picture box shows and where it goes in
// the box. The ICO bytes come from another program's executable: every size and offset is
// checked before it is trusted.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// One usable image of an ICO file: where its bytes lie and its size in pixels, as its own
// header (bitmap or PNG) gives them.
struct IconImage {
  std::size_t offset = 0;
  std::size_t size = 0;
  int width = 0;
  int height = 0;
  int bitCount = 0;  // 0 for a PNG image
};

// A rectangle inside the picture box.
struct PicturePlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The images of an ICO file whose bytes are complete and whose header makes sense, in the
// file's order. Empty for anything that is not an ICO file.
std::vector<IconImage> ReadIconImages(std::string_view ico);

// The image that shows best in a square box of `boxSize` pixels: the largest that fits
// without shrinking, else the smallest that must be shrunk; more colours win a tie.
std::optional<IconImage> ChooseIconImage(const std::vector<IconImage>& images, int boxSize);

// Centres a width x height image in a square box, shrinking a larger one to fit while
// keeping its proportions and never enlarging a smaller one.
PicturePlace FitIntoBox(int width, int height, int boxSize);
