// The cipher container of list.db: a 4-byte little-endian signed length, the plain bytes and
// zero padding to a multiple of 8, enciphered block by block (DES, ECB) under a key that is
// the same for every installation. No magic number, checksum or trailer.
#pragma once

#include <array>
#include <string>
#include <string_view>

// The 8 bytes handed to DES: "TideRunnerkopalomivesuta" folded by XOR into 8 bytes, each
// byte's bit order reversed (the cipher reads the folded bytes low bit first).
std::array<unsigned char, 8> WhitelistKey();

// The container for these plain bytes; empty for empty input (and for input too long for
// the length header).
std::string EncryptData(std::string_view plain);

// The plain bytes of a container; empty when its length is 0 or not a multiple of 8, or when
// the deciphered header is not positive, exceeds the bytes after it, or leaves 8 or more
// padding bytes.
std::string DecryptData(std::string_view container);
