#include <gtest/gtest.h>

#include <string>

#include "des.h"
#include "hex.h"
#include "md5.h"

TEST(Md5Text, Rfc1321SuiteAndBlockBoundaries) {
  struct Case { std::string input; const char* md5; } cases[] = {
      // The test suite of RFC 1321, appendix A.5.
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
      // Lengths around the padding boundaries, and bytes above 0x7F and a zero byte
      // (values from coreutils md5sum).
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
      {std::string("\x00\xff\x80", 3), "4fd64cb80c3f86e1e9d0f559af8b370f"},
      {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5Text(c.input), c.md5) << "length " << c.input.size();
}

namespace {

std::string EncipherHex(const std::string& keyHex, const std::string& plainHex) {
  std::string key = BytesFromHex(keyHex), block = BytesFromHex(plainHex);
  DesKeySchedule schedule = MakeDesKeySchedule(reinterpret_cast<const unsigned char*>(key.data()));
  EncipherDesBlock(schedule, reinterpret_cast<unsigned char*>(block.data()));
  return HexFromBytes(block);
}

std::string DecipherHex(const std::string& keyHex, const std::string& cipherHex) {
  std::string key = BytesFromHex(keyHex), block = BytesFromHex(cipherHex);
  DesKeySchedule schedule = MakeDesKeySchedule(reinterpret_cast<const unsigned char*>(key.data()));
  DecipherDesBlock(schedule, reinterpret_cast<unsigned char*>(block.data()));
  return HexFromBytes(block);
}

}  // namespace

TEST(Des, KnownAnswersBothWays) {
  struct Case { const char* key; const char* plain; const char* cipher; } cases[] = {
      // The worked example of FIPS 46 tutorials and the NBS validation tests (SP 500-20):
      // initial permutation, variable key, permutation and substitution tests.
      {"133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
      {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
      {"0101010101010101", "95f8a5e5dd31d900", "8000000000000000"},
      {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
      {"1046913489980131", "0000000000000000", "88d55e54f54c97b4"},
      {"7ca110454a1a6e57", "01a1d6d039776742", "690f5b0d9a26939b"},
      {"0e329232ea6d0d73", "8787878787878787", "0000000000000000"},
      {"0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncipherHex(c.key, c.plain), c.cipher) << c.key << " " << c.plain;
    EXPECT_EQ(DecipherHex(c.key, c.cipher), c.plain) << c.key << " " << c.cipher;
  }
}

TEST(Des, KeyParityBitsAreIgnored) {
  // 133457799bbcdff1 has odd parity; flipping the low bit of every byte breaks it everywhere.
  EXPECT_EQ(EncipherHex("123556789abddef0", "0123456789abcdef"), "85e813540f0ab405");
  // A key bit outside the parity positions does change the result.
  EXPECT_NE(EncipherHex("133457799bbcdff3", "0123456789abcdef"), "85e813540f0ab405");
}

TEST(Des, ThousandFoldEncipherMatchesIndependentCipher) {
  // Each step feeds the last output back in, so every S-box entry is reached. The value is
  // the last block of `head -c 8000 /dev/zero | openssl enc -des-cbc -nopad
  // -K 133457799bbcdff1 -iv 0123456789abcdef -provider legacy -provider default`: CBC over
  // zero blocks is exactly this chain.
  const unsigned char key[8] = {0x13, 0x34, 0x57, 0x79, 0x9b, 0xbc, 0xdf, 0xf1};
  const std::string start = BytesFromHex("0123456789abcdef");
  DesKeySchedule schedule = MakeDesKeySchedule(key);
  std::string block = start;
  auto* bytes = reinterpret_cast<unsigned char*>(block.data());
  for (int i = 0; i < 1000; ++i) EncipherDesBlock(schedule, bytes);
  EXPECT_EQ(HexFromBytes(block), "72ac681262968052");
  for (int i = 0; i < 1000; ++i) DecipherDesBlock(schedule, bytes);
  EXPECT_EQ(block, start);
}
