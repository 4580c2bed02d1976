// A two-entry whitelist (one GBK path whose trail byte is "|") and its list.db bytes as
// enciphered outside this code: the framed bytes (Python's struct and gbk codec) piped
// through `openssl enc -des-ecb -nopad -K 3a4e9ef68a866e06 -provider legacy -provider default`.
#pragma once

#include "whitelist.h"

// GBK: 软件 = C8ED BCFE; 憒 = 91 7C, whose trail byte is "|".
#define SOFTWARE "\xC8\xED\xBC\xFE"
#define BAR_TRAIL "\x91\x7C"

inline constexpr char kTwoEntryText[] =
    "C:\\a.exe|900150983cd24fb0d6963f7d28e17f72\r\n"
    "D:\\" SOFTWARE "\\" BAR_TRAIL ".exe|d41d8cd98f00b204e9800998ecf8427e\r\n";
inline constexpr char kTwoEntryContainer[] =
    "719d7b24db28a5d213c4574c78616cbccb35198bb0bc62985f6c46e4d9d6beed8341c342976264057e4c2dbcfd69"
    "9b5277202fd4d7eebe2b55098b16860174160f604b4edad27ccf91f8b7bae8f7803e690e404ce2a78509e14e1a58"
    "7404532f";

inline Whitelist TwoEntryList() {
  Whitelist list;
  AppendLoadedEntry(list, "C:\\a.exe", "900150983cd24fb0d6963f7d28e17f72");
  AppendLoadedEntry(list, "D:\\" SOFTWARE "\\" BAR_TRAIL ".exe", "d41d8cd98f00b204e9800998ecf8427e");
  return list;
}
