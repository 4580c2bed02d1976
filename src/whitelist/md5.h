// MD5 (RFC 1321): the fingerprint that keys the whitelist.
#pragma once

#include <string>
#include <string_view>

// The MD5 digest of exactly these bytes as 32 lowercase hexadecimal digits. Never fails;
// no bytes give the digest of the empty message.
std::string Md5Text(std::string_view bytes);
