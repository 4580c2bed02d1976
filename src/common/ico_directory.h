// Reading the ICO format's fixed parts: its header and directory, and the first bytes of an
// image (a PNG signature, or else a bitmap header). Shared by the icon file the alert is
// given and the alert's picture; each decides itself how strict to be with damaged files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr std::size_t kIcoHeaderSize = 6;
constexpr std::size_t kIcoEntrySize = 16;

// Unsigned little-endian number of `width` bytes (1 to 4) at `at`; the caller checked bounds.
std::uint32_t ReadLittle(std::string_view bytes, std::size_t at, std::size_t width);
// Unsigned big-endian 32-bit number at `at`; the caller checked bounds.
std::uint32_t ReadBig32(std::string_view bytes, std::size_t at);

// True when the image is PNG-compressed (starts with the PNG signature).
bool IsPngImage(std::string_view image);

// The image count of an ICO file's header (reserved 0, type 1); -1 when it has none.
int IcoImageCount(std::string_view file);

// Where directory entry `index` puts its image, as written; neither is checked against the
// file. The caller checked that the entry itself lies inside the file.
struct IcoImagePlace {
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};
IcoImagePlace IcoEntryAt(std::string_view file, std::size_t index);
