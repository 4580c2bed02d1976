// Single DES (FIPS 46-3) on 8-byte blocks, for the whitelist file's ECB container. Byte 0 of a
// key or block is the most significant byte of the cipher's 64-bit value. The parity bits of
// the key are ignored: never tested, never set.
#pragma once

#include <cstdint>

// The sixteen 48-bit round keys of one key.
struct DesKeySchedule {
  uint64_t roundKeys[16];
};

DesKeySchedule MakeDesKeySchedule(const unsigned char key[8]);

// Enciphers or deciphers one block in place.
void EncipherDesBlock(const DesKeySchedule& schedule, unsigned char block[8]);
void DecipherDesBlock(const DesKeySchedule& schedule, unsigned char block[8]);
