#include "text_rules.h"

namespace {

constexpr char kFullWidthSpace[] = "\xA1\xA1";

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Length in bytes of the character that starts at text[i]; a lead byte at the very end
// of the text stands alone.
size_t CharLength(std::string_view text, size_t i) {
  return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// Length of the space character at text[i], or 0 when there is none.
size_t SpaceLengthAt(std::string_view text, size_t i) {
  if (text[i] == ' ') return 1;
  if (text.substr(i, 2) == kFullWidthSpace) return 2;
  return 0;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); i += CharLength(out, i)) {
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return LowerAscii(a) == LowerAscii(b);
}

std::string RemoveSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (size_t n = SpaceLengthAt(text, i)) {
      i += n;
      continue;
    }
    size_t n = CharLength(text, i);
    out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  // Walk whole characters from the front so that a trail byte is never mistaken for a space.
  size_t begin = 0;
  while (begin < text.size()) {
    size_t n = SpaceLengthAt(text, begin);
    if (n == 0) break;
    begin += n;
  }
  size_t end = begin;  // one past the last character that is not a space
  for (size_t i = begin; i < text.size();) {
    size_t n = SpaceLengthAt(text, i);
    size_t len = n ? n : CharLength(text, i);
    i += len;
    if (n == 0) end = i;
  }
  return std::string(text.substr(begin, end - begin));
}

bool IsBlankText(std::string_view text) { return RemoveSpaces(text).empty(); }

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
  std::vector<std::string> fields;
  if (separator.empty()) {
    if (!text.empty()) fields.emplace_back(text);
    return fields;
  }
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (text.substr(i, separator.size()) == separator) {
      fields.emplace_back(text.substr(start, i - start));
      i += separator.size();
      start = i;
    } else {
      i += CharLength(text, i);
    }
  }
  if (start < text.size()) fields.emplace_back(text.substr(start));
  return fields;
}

std::string DecimalText(long long number) { return std::to_string(number); }
