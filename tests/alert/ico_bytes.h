// Builds ICO files in memory for the tests: 32-bit bitmap images filled by a colour
// function, and PNG-flagged images that carry only a PNG header.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Colour of pixel (x, y), y counted from the top, as 0xAARRGGBB.
using PixelColour = std::function<std::uint32_t(int x, int y)>;

struct IcoImageShape {
  int width;
  int height;
  PixelColour colour;
  bool png = false;  // an image that starts with a PNG header of that size
};

inline void PutLittle(std::string& out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

inline void PutBig32(std::string& out, std::uint32_t value) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

inline std::string IconImageBytes(const IcoImageShape& shape) {
  std::string image;
  if (shape.png) {
    image = "\x89PNG\r\n\x1a\n";
    PutBig32(image, 13);
    image += "IHDR";
    PutBig32(image, shape.width);
    PutBig32(image, shape.height);
    image += std::string(5, '\0');
    return image;
  }
  PutLittle(image, 40, 4);
  PutLittle(image, shape.width, 4);
  PutLittle(image, shape.height * 2, 4);
  PutLittle(image, 1, 2);
  PutLittle(image, 32, 2);
  image += std::string(24, '\0');
  for (int y = shape.height - 1; y >= 0; --y) {  // bottom-up rows
    for (int x = 0; x < shape.width; ++x) PutLittle(image, shape.colour(x, y), 4);
  }
  int maskRow = (shape.width + 31) / 32 * 4;
  image += std::string(static_cast<size_t>(maskRow) * shape.height, '\0');
  return image;
}

inline std::string IcoFile(const std::vector<IcoImageShape>& shapes) {
  std::string header;
  PutLittle(header, 0, 2);
  PutLittle(header, 1, 2);
  PutLittle(header, static_cast<std::uint32_t>(shapes.size()), 2);
  std::string data;
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(shapes.size());
  for (const IcoImageShape& shape : shapes) {
    std::string image = IconImageBytes(shape);
    header.push_back(static_cast<char>(shape.width & 0xff));
    header.push_back(static_cast<char>(shape.height & 0xff));
    header.push_back(0);
    header.push_back(0);
    PutLittle(header, 1, 2);
    PutLittle(header, 32, 2);
    PutLittle(header, static_cast<std::uint32_t>(image.size()), 4);
    PutLittle(header, offset + static_cast<std::uint32_t>(data.size()), 4);
    data += image;
  }
  return header + data;
}

inline PixelColour SolidColour(std::uint32_t argb) {
  return [argb](int, int) { return argb; };
}
