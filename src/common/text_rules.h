// Text rules shared by every subsystem. Texts are 8-bit strings in the ANSI code page
// (GBK): a byte of 0x80 or above starts a double-byte character that is kept whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Lower-cases A to Z only; double-byte characters pass through unchanged.
std::string LowerAscii(std::string_view text);

// Case-blind equality: both sides lower-cased as above, then compared byte for byte.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Deletes every ASCII space and every full-width space (GBK A1 A1) anywhere in the text.
std::string RemoveSpaces(std::string_view text);

// Deletes both kinds of space at both ends only; tabs, CR and LF are not spaces.
std::string TrimSpaces(std::string_view text);

// True when the text is empty or holds only the two kinds of space.
bool IsBlankText(std::string_view text);

// Splits at every occurrence of separator, scanning character by character so that the
// second byte of a double-byte character never starts a separator. An empty field before
// the first or between two separators counts; the text after the last separator becomes
// a field only when it is not empty (so "" gives no fields and "a|" gives one).
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// Decimal without leading zeros, a minus sign for negative numbers.
std::string DecimalText(long long number);
