// Fuzzes the script cipher: any bytes decipher at any level with any key without crashing,
// failing exactly when they are shorter than a header; enciphering the result again with
// the same key gives back the input (its header replaced by the level's own when it was
// none of the three); and ciphering any bytes twice gives them back.
//
// Input: one byte choosing the level set beforehand, one byte giving the key's length in
// UTF-16 code units, the key's code units (little-endian), then the bytes to decipher.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "container/hs_crypt.h"

using namespace dorovev;

namespace {

constexpr std::size_t kMaxKeyLength = 31;

struct Input {
  TEncryptionLevel level = TEncryptionLevel::elWeak32bit;
  std::u16string key;
  std::string_view bytes;
};

Input split_input(std::string_view data) {
  Input input;
  if (data.empty()) return input;
  input.level = static_cast<TEncryptionLevel>(static_cast<std::uint8_t>(data[0]) % 3);
  data.remove_prefix(1);
  if (data.empty()) return input;
  std::size_t key_length = static_cast<std::uint8_t>(data[0]) % (kMaxKeyLength + 1);
  data.remove_prefix(1);
  key_length = std::min(key_length, data.size() / 2);
  for (std::size_t i = 0; i < key_length; ++i) {
    input.key.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(data[2 * i]) |
                                              static_cast<std::uint8_t>(data[2 * i + 1]) << 8));
  }
  data.remove_prefix(2 * key_length);
  input.bytes = data;
  return input;
}

void check_deciphering(const Input& input) {
  THSCrypt crypt;
  crypt.EncryptionLevel = input.level;
  crypt.Key = input.key;
  const std::optional<std::string> plain = decipher_block(crypt, input.bytes);
  if (!crypt.Key.empty()) __builtin_trap();
  if (input.bytes.size() < kCryptHeaderSize) {
    if (plain || crypt.EncryptionLevel != input.level) __builtin_trap();
    return;
  }
  if (!plain || plain->size() != input.bytes.size() - kCryptHeaderSize) __builtin_trap();
  const std::string_view header = input.bytes.substr(0, kCryptHeaderSize);
  const TEncryptionLevel expected = level_of_crypt_header(header).value_or(input.level);
  if (crypt.EncryptionLevel != expected) __builtin_trap();

  crypt.Key = input.key;
  const std::string again = encipher_block(crypt, *plain);
  if (again.substr(0, kCryptHeaderSize) != crypt_header(expected)) __builtin_trap();
  if (std::string_view(again).substr(kCryptHeaderSize) != input.bytes.substr(kCryptHeaderSize)) __builtin_trap();
}

void check_ciphering_twice(const Input& input) {
  std::string bytes(input.bytes);
  THSCrypt crypt;
  crypt.EncryptionLevel = input.level;
  crypt.Key = input.key;
  crypt.cipher_bytes(bytes);
  crypt.Key = input.key;
  crypt.cipher_bytes(bytes);
  if (bytes != input.bytes) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input input = split_input(std::string_view(reinterpret_cast<const char*>(data), size));
  check_deciphering(input);
  check_ciphering_twice(input);
  return 0;
}
