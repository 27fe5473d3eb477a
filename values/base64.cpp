// Base64 and hexadecimal decoding, as the runtime has always done them: the decoder
// checks only the length of its text.
#include "values/base64.h"

#include <array>
#include <cstdint>

#include "values/ascii.h"

namespace dorovev {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The value of each byte as a Base64 character: 63 for everything outside A-Z, a-z,
// 0-9 and `+` (`/` and `=` included).
constexpr std::array<std::uint8_t, 256> make_values() {
  std::array<std::uint8_t, 256> values{};
  for (std::uint8_t& value : values) value = 63;
  for (std::uint8_t i = 0; i < 63; ++i) values[static_cast<unsigned char>(kAlphabet[i])] = i;
  return values;
}
constexpr std::array<std::uint8_t, 256> kValues = make_values();

std::uint32_t value_of(char c) noexcept { return kValues[static_cast<unsigned char>(c)]; }

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  const auto byte = [&bytes](std::size_t at) { return std::uint32_t{static_cast<unsigned char>(bytes[at])}; };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    text.push_back(kAlphabet[group >> 18]);
    text.push_back(kAlphabet[(group >> 12) & 63]);
    text.push_back(kAlphabet[(group >> 6) & 63]);
    text.push_back(kAlphabet[group & 63]);
  }
  const std::size_t left = bytes.size() - i;
  if (left > 0) {
    // Missing bytes count as zero bits.
    const std::uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
    text.push_back(kAlphabet[group >> 18]);
    text.push_back(kAlphabet[(group >> 12) & 63]);
    text.push_back(left == 2 ? kAlphabet[(group >> 6) & 63] : '=');
    text.push_back('=');
  }
  return text;
}

Base64FormatError::Base64FormatError() : std::runtime_error("Base64: Incorrect string format") {}

std::string Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) throw Base64FormatError();
  std::string bytes;
  if (text.empty()) return bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const std::uint32_t group = value_of(text[i]) << 18 | value_of(text[i + 1]) << 12 |
                                value_of(text[i + 2]) << 6 | value_of(text[i + 3]);
    std::size_t count = 3;
    if (i + 4 == text.size()) count = text[i + 2] == '=' ? 1 : text[i + 3] == '=' ? 2 : 3;
    bytes.push_back(static_cast<char>(group >> 16));
    if (count > 1) bytes.push_back(static_cast<char>((group >> 8) & 0xFF));
    if (count > 2) bytes.push_back(static_cast<char>(group & 0xFF));
  }
  return bytes;
}

std::string decode_hex_prefix(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const int high = hex_digit_value(text[i]);
    const int low = hex_digit_value(text[i + 1]);
    if (high < 0 || low < 0) break;
    bytes.push_back(static_cast<char>((high << 4) | low));
  }
  return bytes;
}

std::optional<std::string> HexToBytes(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  std::string bytes = decode_hex_prefix(text);
  bytes.resize(text.size() / 2, '\0');
  return bytes;
}

}  // namespace dorovev
