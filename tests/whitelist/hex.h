// Hex texts for byte vectors in the whitelist tests.
#pragma once

#include <string>
#include <string_view>

inline std::string BytesFromHex(std::string_view hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

inline std::string HexFromBytes(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 15];
  }
  return hex;
}
