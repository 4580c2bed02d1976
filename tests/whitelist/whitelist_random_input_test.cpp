// Bounded random inputs through the list.db decoder: whatever the file holds, decoding must
// neither fault (the native build runs under ASan/UBSan) nor break the container's rules.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "whitelist_container.h"
#include "whitelist_file_format.h"

namespace {

std::string RandomBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xff);
  return bytes;
}

// Checks what DecryptData may give for a container of this length, then parses the result.
void DecodeAndCheck(const std::string& container) {
  std::string plain = DecryptData(container);
  if (!plain.empty()) {
    ASSERT_EQ(container.size() % 8, 0u);
    ASSERT_LE(plain.size() + 4, container.size());
    ASSERT_LT(container.size() - 4 - plain.size(), 8u);
  }
  for (const WhitelistEntry& entry : ParseWhitelistText(plain)) {
    ASSERT_EQ(entry.path.find('\0'), std::string::npos);
    ASSERT_EQ(entry.md5.find('\0'), std::string::npos);
  }
}

// A path text from pieces that survive the line format: GBK characters (one with a "|"
// trail byte), both kinds of space, lone CR and LF.
std::string RandomPath(std::mt19937& random) {
  static const char* const kPieces[] = {"a", "Z", ".", "\\", " ", "\xA1\xA1", "\x91\x7C",
                                        "\xC8\xED", "\rx", "\ny"};
  std::string path;
  for (size_t n = random() % 12; n > 0; --n) path += kPieces[random() % std::size(kPieces)];
  return path;
}

}  // namespace

TEST(WhitelistRandomInput, ArbitraryBytesDecodeSafely) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 3000; ++i) {
    // Mostly whole blocks, so that the header test is reached.
    size_t size = random() % 4 == 0 ? random() % 70 : 8 * (random() % 9);
    DecodeAndCheck(RandomBytes(random, size));
  }
}

TEST(WhitelistRandomInput, DamagedContainersDecodeSafely) {
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) {
    std::string plain = RandomBytes(random, 1 + random() % 60);
    std::string container = EncryptData(plain);
    ASSERT_EQ(container.size(), (plain.size() + 4 + 7) / 8 * 8);
    ASSERT_EQ(DecryptData(container), plain);
    container[random() % container.size()] ^= static_cast<char>(1 + random() % 255);
    if (random() % 3 == 0) container.resize(random() % (container.size() + 9));
    DecodeAndCheck(container);
  }
}

TEST(WhitelistRandomInput, RandomListsSurviveSaveAndLoad) {
  std::mt19937 random(99);
  for (int i = 0; i < 500; ++i) {
    Whitelist list;
    for (size_t n = random() % 6; n > 0; --n) {
      AppendLoadedEntry(list, RandomPath(random), std::to_string(random()) + "f");
    }
    Whitelist reloaded;
    DecodeWhitelistFile(EncodeWhitelistFile(list), reloaded);
    ASSERT_EQ(WhitelistCount(reloaded), WhitelistCount(list));
    for (size_t e = 0; e < WhitelistCount(list); ++e) {
      ASSERT_EQ(reloaded.entries[e].path, list.entries[e].path);
      ASSERT_EQ(reloaded.entries[e].md5, list.entries[e].md5);
    }
  }
}
