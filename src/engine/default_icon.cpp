#include "default_icon.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "icon_file.h"

namespace {

constexpr int kSide = 32;
constexpr int kSamples = 4;  // per pixel and axis, for smooth edges
constexpr double kPi = 3.14159265358979323846;

// The shield: a slightly bowed top edge, straight sides, and a lower half that narrows to a
// point. Coordinates are in pixels from the top-left corner; scale shrinks it about its
// middle to give the inner face inside the rim.
bool InShield(double x, double y, double scale) {
  constexpr double kMiddleX = 16.0, kMiddleY = 16.0, kHalfWidth = 12.5;
  constexpr double kTop = 2.5, kShoulder = 15.0, kTip = 30.0;
  x = kMiddleX + (x - kMiddleX) / scale;
  y = kMiddleY + (y - kMiddleY) / scale;
  double dx = std::fabs(x - kMiddleX);
  if (dx > kHalfWidth) return false;
  double bow = dx / kHalfWidth;
  if (y < kTop + 2.0 * (1.0 - bow * bow)) return false;
  if (y <= kShoulder) return true;
  if (y >= kTip) return false;
  double narrowing = std::cos((y - kShoulder) / (kTip - kShoulder) * kPi / 2.0);
  return dx <= kHalfWidth * narrowing;
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  double vx = bx - ax, vy = by - ay;
  double t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

bool InTick(double x, double y) {
  constexpr double kHalfStroke = 1.6;
  return DistanceToSegment(x, y, 10.0, 15.5, 14.5, 20.0) <= kHalfStroke ||
         DistanceToSegment(x, y, 14.5, 20.0, 22.0, 10.5) <= kHalfStroke;
}

struct Colour {
  double b, g, r;
};

// Colour of one point inside the shield: a dark rim, a face that darkens downwards with a
// lighter left half, and the tick.
Colour ShieldColour(double x, double y) {
  if (!InShield(x, y, 0.86)) return {90, 45, 20};
  if (InTick(x, y)) return {255, 255, 255};
  double shade = 1.0 - 0.35 * (y / kSide);
  double light = x < 16.0 ? 1.0 : 0.82;
  return {235 * shade * light, 140 * shade * light, 45 * shade * light};
}

// Bottom-up BGRA rows followed by the AND mask, as an icon image stores them.
std::string DrawDefaultIconImage() {
  std::vector<uint8_t> pixels(kSide * kSide * 4, 0);
  std::vector<uint8_t> mask(kSide * 4, 0);
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      Colour sum{0, 0, 0};
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          double x = column + (sx + 0.5) / kSamples;
          double y = row + (sy + 0.5) / kSamples;
          if (!InShield(x, y, 1.0)) continue;
          Colour c = ShieldColour(x, y);
          sum = {sum.b + c.b, sum.g + c.g, sum.r + c.r};
          ++covered;
        }
      }
      int storedRow = kSide - 1 - row;
      uint8_t* pixel = &pixels[(storedRow * kSide + column) * 4];
      if (covered == 0) {
        mask[storedRow * 4 + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
        continue;
      }
      pixel[0] = static_cast<uint8_t>(sum.b / covered);
      pixel[1] = static_cast<uint8_t>(sum.g / covered);
      pixel[2] = static_cast<uint8_t>(sum.r / covered);
      pixel[3] = static_cast<uint8_t>(255 * covered / (kSamples * kSamples));
    }
  }

  std::string image;
  auto append = [&image](uint32_t value, int width) {
    for (int i = 0; i < width; ++i) image.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  append(40, 4);                                // header size
  append(kSide, 4);                             // width
  append(kSide * 2, 4);                         // height of colour and mask together
  append(1, 2);                                 // planes
  append(32, 2);                                // bits per pixel
  append(0, 4);                                 // no compression
  append(pixels.size() + mask.size(), 4);       // image size
  append(0, 4); append(0, 4); append(0, 4); append(0, 4);  // resolution, palette: unused
  image.append(pixels.begin(), pixels.end());
  image.append(mask.begin(), mask.end());
  return image;
}

}  // namespace

const std::string& DefaultIconFile() {
  static const std::string file = WriteIcoFile({DrawDefaultIconImage()});
  return file;
}
