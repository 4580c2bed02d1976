#include "whitelist_container.h"

#include <cstdint>
#include <cstring>

#include "des.h"

namespace {

constexpr char kWhitelistPassword[] = "TideRunnerkopalomivesuta";
constexpr size_t kHeaderSize = 4;
constexpr size_t kBlockSize = 8;

unsigned char ReverseBits(unsigned char byte) {
  unsigned char reversed = 0;
  for (int i = 0; i < 8; ++i, byte >>= 1) {
    reversed = static_cast<unsigned char>((reversed << 1) | (byte & 1));
  }
  return reversed;
}

DesKeySchedule WhitelistKeySchedule() { return MakeDesKeySchedule(WhitelistKey().data()); }

}  // namespace

std::array<unsigned char, 8> WhitelistKey() {
  std::array<unsigned char, 8> key{};
  for (size_t i = 0; kWhitelistPassword[i]; ++i) {
    key[i % 8] ^= static_cast<unsigned char>(kWhitelistPassword[i]);
  }
  for (unsigned char& byte : key) byte = ReverseBits(byte);
  return key;
}

std::string EncryptData(std::string_view plain) {
  if (plain.empty() || plain.size() > INT32_MAX - kHeaderSize - kBlockSize) return {};
  size_t total = (plain.size() + kHeaderSize + kBlockSize - 1) / kBlockSize * kBlockSize;
  std::string buffer(total, '\0');  // the padding stays zero
  uint32_t length = static_cast<uint32_t>(plain.size());
  for (size_t i = 0; i < kHeaderSize; ++i) buffer[i] = static_cast<char>(length >> (8 * i));
  std::memcpy(buffer.data() + kHeaderSize, plain.data(), plain.size());

  DesKeySchedule schedule = WhitelistKeySchedule();
  auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
  for (size_t i = 0; i < total; i += kBlockSize) EncipherDesBlock(schedule, bytes + i);
  return buffer;
}

std::string DecryptData(std::string_view container) {
  if (container.empty() || container.size() % kBlockSize != 0) return {};
  std::string buffer(container);
  DesKeySchedule schedule = WhitelistKeySchedule();
  auto* bytes = reinterpret_cast<unsigned char*>(buffer.data());
  for (size_t i = 0; i < buffer.size(); i += kBlockSize) DecipherDesBlock(schedule, bytes + i);

  uint32_t header = 0;
  for (size_t i = 0; i < kHeaderSize; ++i) header |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  int64_t length = static_cast<int32_t>(header);
  int64_t room = static_cast<int64_t>(buffer.size() - kHeaderSize);
  // A damaged file, or one written under another key: take nothing from it.
  if (length <= 0 || length > room || room - length >= static_cast<int64_t>(kBlockSize)) return {};
  return buffer.substr(kHeaderSize, static_cast<size_t>(length));
}
