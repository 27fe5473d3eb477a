// Fuzzes HexToBytes against a plain reading of its rule, and checks that bytes written
// as hexadecimal digits (of mixed case) read back.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "values/base64.h"

using namespace dorovev;

namespace {

int digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

void check(const std::u16string& text) {
  const std::optional<std::string> bytes = HexToBytes(text);
  if (text.empty()) {
    if (bytes) __builtin_trap();
    return;
  }
  if (!bytes || bytes->size() != text.size() / 2) __builtin_trap();
  bool stopped = false;
  std::size_t prefix = 0;
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    const int high = digit(text[2 * i]);
    const int low = digit(text[2 * i + 1]);
    stopped = stopped || high < 0 || low < 0;
    const int expected = stopped ? 0 : high * 16 + low;
    if (static_cast<unsigned char>((*bytes)[i]) != expected) __builtin_trap();
    if (!stopped) ++prefix;
  }
  if (decode_hex_prefix(text) != bytes->substr(0, prefix)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes as Latin-1 characters and as UTF-16LE code units.
  const std::u16string narrow(data, data + size);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < size; i += 2) wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  check(narrow);
  check(wide);

  // The input's bytes in hexadecimal read back exactly.
  static constexpr char16_t kLower[] = u"0123456789abcdef";
  static constexpr char16_t kUpper[] = u"0123456789ABCDEF";
  std::u16string hex;
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t* digits = (i & 1) ? kUpper : kLower;
    hex.push_back(digits[data[i] >> 4]);
    hex.push_back(digits[data[i] & 15]);
  }
  const std::optional<std::string> back = HexToBytes(hex);
  if (size > 0 && (!back || *back != std::string(data, data + size))) __builtin_trap();
  return 0;
}
