#include "ico_directory.h"

namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

}  // namespace

std::uint32_t ReadLittle(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

std::uint32_t ReadBig32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

bool IsPngImage(std::string_view image) { return image.substr(0, kPngSignature.size()) == kPngSignature; }

int IcoImageCount(std::string_view file) {
  if (file.size() < kIcoHeaderSize || ReadLittle(file, 0, 2) != 0 || ReadLittle(file, 2, 2) != 1) {
    return -1;
  }
  return static_cast<int>(ReadLittle(file, 4, 2));
}

IcoImagePlace IcoEntryAt(std::string_view file, std::size_t index) {
  std::size_t entry = kIcoHeaderSize + index * kIcoEntrySize;
  return {ReadLittle(file, entry + 12, 4), ReadLittle(file, entry + 8, 4)};
}
