// Fuzzes Base64: any text decodes without crashing (failing exactly when its length is no
// multiple of 4, to the number of bytes its last group promises), and any bytes encode
// to alphabet text of the promised length that decodes back to them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "values/base64.h"

using namespace dorovev;

namespace {

bool in_alphabet(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

void check_decoding(std::string_view text) {
  std::string bytes;
  try {
    bytes = Base64Decode(text);
  } catch (const Base64FormatError&) {
    if (text.size() % 4 == 0) __builtin_trap();
    return;
  }
  if (text.size() % 4 != 0) __builtin_trap();
  std::size_t expected = 0;
  if (!text.empty()) {
    const std::size_t last = text.size() - 4;
    expected = last / 4 * 3 + (text[last + 2] == '=' ? 1 : text[last + 3] == '=' ? 2 : 3);
  }
  if (bytes.size() != expected) __builtin_trap();
  // What decoding gives is what it gives again after a round through the encoder.
  if (Base64Decode(Base64Encode(bytes)) != bytes) __builtin_trap();
}

void check_encoding(std::string_view bytes) {
  const std::string text = Base64Encode(bytes);
  if (text.size() != (bytes.size() + 2) / 3 * 4) __builtin_trap();
  const std::size_t padding = (3 - bytes.size() % 3) % 3;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pad = i >= text.size() - padding;
    if (pad ? text[i] != '=' : !in_alphabet(text[i])) __builtin_trap();
  }
  if (Base64Decode(text) != bytes) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  check_decoding(input);
  // Cut to a multiple of 4, so that every input also reaches the decoding itself.
  check_decoding(input.substr(0, size / 4 * 4));
  check_encoding(input);
  return 0;
}
