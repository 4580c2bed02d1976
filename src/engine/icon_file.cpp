#include "icon_file.h"

#include <cstdint>
#include <optional>

#include "ico_directory.h"
#include "text_rules.h"

namespace {

constexpr size_t kGroupEntrySize = 14;
constexpr size_t kBitmapHeaderSize = 40;

void AppendLittle(std::string& out, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct DirectoryFields {
  uint32_t width, height, planes, bitCount;
};

// Bits per pixel of a PNG from its IHDR bit depth and colour type.
uint32_t PngBitsPerPixel(uint32_t depth, uint32_t colourType) {
  switch (colourType) {
    case 2: return depth * 3;  // RGB
    case 4: return depth * 2;  // grey and alpha
    case 6: return depth * 4;  // RGBA
    default: return depth;     // grey, palette
  }
}

// PNG-compressed images carry no bitmap header; their size is in the IHDR chunk, which the
// format puts first, right after the signature.
std::optional<DirectoryFields> PngFields(std::string_view image) {
  constexpr size_t kIhdrEnd = 8 + 8 + 13;
  if (image.size() < kIhdrEnd || image.substr(12, 4) != "IHDR") return std::nullopt;
  uint32_t depth = static_cast<unsigned char>(image[24]);
  uint32_t colourType = static_cast<unsigned char>(image[25]);
  return DirectoryFields{ReadBig32(image, 16), ReadBig32(image, 20), 1,
                         PngBitsPerPixel(depth, colourType)};
}

// A bitmap image's header gives the height of colour and mask together, so twice the
// icon's height.
std::optional<DirectoryFields> BitmapFields(std::string_view image) {
  if (image.size() < kBitmapHeaderSize || ReadLittle(image, 0, 4) < kBitmapHeaderSize) {
    return std::nullopt;
  }
  int32_t height = static_cast<int32_t>(ReadLittle(image, 8, 4));
  return DirectoryFields{ReadLittle(image, 4, 4), static_cast<uint32_t>(height / 2),
                         ReadLittle(image, 12, 2), ReadLittle(image, 14, 2)};
}

std::optional<DirectoryFields> ImageFields(std::string_view image) {
  if (IsPngImage(image)) return PngFields(image);
  return BitmapFields(image);
}

// The directory byte holds 1 to 255; 256 is written as 0.
char SizeByte(uint32_t size) { return static_cast<char>(size >= 256 ? 0 : size); }

void AppendDirectoryEntry(std::string& out, const DirectoryFields& fields, uint32_t size,
                          uint32_t offset) {
  uint32_t bits = fields.planes * fields.bitCount;
  out.push_back(SizeByte(fields.width));
  out.push_back(SizeByte(fields.height));
  out.push_back(static_cast<char>(bits < 8 ? (1u << bits) : 0));
  out.push_back(0);
  AppendLittle(out, fields.planes, 2);
  AppendLittle(out, fields.bitCount, 2);
  AppendLittle(out, size, 4);
  AppendLittle(out, offset, 4);
}

}  // namespace

IconSource IconSourceOf(std::string_view path) {
  if (path.size() < 3) return IconSource::None;
  std::string ending = LowerAscii(path.substr(path.size() - 3));
  if (ending == "ico") return IconSource::IcoFile;
  if (ending == "exe" || ending == "dll" || ending == "icl") return IconSource::Resources;
  return IconSource::None;
}

std::vector<std::string> ReadIcoImages(std::string_view file) {
  int count = IcoImageCount(file);
  if (count < 0 || file.size() < kIcoHeaderSize + kIcoEntrySize * count) return {};
  std::vector<std::string> images;
  for (int i = 0; i < count; ++i) {
    IcoImagePlace place = IcoEntryAt(file, i);
    if (uint64_t{place.offset} + place.size > file.size()) return {};
    images.emplace_back(file.substr(place.offset, place.size));
  }
  return images;
}

std::vector<int> GroupIconIds(std::string_view group) {
  if (group.size() < kIcoHeaderSize) return {};
  size_t count = ReadLittle(group, 4, 2);
  std::vector<int> ids;
  for (size_t i = 0; i < count; ++i) {
    size_t entry = kIcoHeaderSize + kGroupEntrySize * i;
    if (entry + kGroupEntrySize > group.size()) break;
    ids.push_back(static_cast<int>(ReadLittle(group, entry + 12, 2)));
  }
  return ids;
}

std::string WriteIcoFile(const std::vector<std::string>& images) {
  std::vector<std::pair<DirectoryFields, const std::string*>> kept;
  for (const std::string& image : images) {
    if (auto fields = ImageFields(image)) kept.emplace_back(*fields, &image);
  }
  if (kept.empty()) return {};

  std::string out;
  AppendLittle(out, 0, 2);
  AppendLittle(out, 1, 2);
  AppendLittle(out, static_cast<uint32_t>(kept.size()), 2);
  uint32_t offset = static_cast<uint32_t>(kIcoHeaderSize + kIcoEntrySize * kept.size());
  for (const auto& [fields, image] : kept) {
    AppendDirectoryEntry(out, fields, static_cast<uint32_t>(image->size()), offset);
    offset += static_cast<uint32_t>(image->size());
  }
  for (const auto& entry : kept) out += *entry.second;
  return out;
}
