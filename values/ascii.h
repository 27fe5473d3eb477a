// Locale-independent text helpers: ASCII case, trimming at control characters and blanks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dorovev {

// Names, labels and settings change case only for the letters a to z.
constexpr char16_t upper_ascii(char16_t c) noexcept {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

// Widens single-byte text unit by unit: digits, formatted numbers, internal messages.
inline std::u16string widen_ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

inline std::u16string to_upper_ascii(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) c = upper_ascii(c);
  return upper;
}

// Compares code unit by code unit after upper-casing a to z on both sides.
inline int compare_ignoring_ascii_case(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = upper_ascii(a[i]);
    const char16_t y = upper_ascii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

inline bool equals_ignoring_ascii_case(std::u16string_view a, std::u16string_view b) noexcept {
  return a.size() == b.size() && compare_ignoring_ascii_case(a, b) == 0;
}

// True when text begins with prefix, where prefix is already upper case.
inline bool starts_with_upper(std::u16string_view text, std::u16string_view upper_prefix) noexcept {
  if (text.size() < upper_prefix.size()) return false;
  for (std::size_t i = 0; i < upper_prefix.size(); ++i) {
    if (upper_ascii(text[i]) != upper_prefix[i]) return false;
  }
  return true;
}

// The value of a hexadecimal digit of either case, or -1.
constexpr int hex_digit_value(char16_t c) noexcept {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Trimming removes characters with a code of 32 or less, as the script language does.
constexpr bool is_blank_or_control(char16_t c) noexcept { return c <= 32; }

inline std::u16string_view trim_left(std::u16string_view text) noexcept {
  std::size_t start = 0;
  while (start < text.size() && is_blank_or_control(text[start])) ++start;
  return text.substr(start);
}

inline std::u16string_view trim_right(std::u16string_view text) noexcept {
  std::size_t end = text.size();
  while (end > 0 && is_blank_or_control(text[end - 1])) --end;
  return text.substr(0, end);
}

inline std::u16string_view trim(std::u16string_view text) noexcept {
  return trim_right(trim_left(text));
}

}  // namespace dorovev
