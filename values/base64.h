// The small encoding routines of the runtime: Base64 over byte strings and hexadecimal
// text to bytes. (The Base64 command BAS, which needs the ANSI code page, is registered
// with the value commands of the engine; the UTF-16 byte-order-mark test of a file is in
// engine/unicode.h.)
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dorovev {

// Standard Base64 (RFC 4648) with `=` padding and no line breaks: 4 × ceil(n / 3)
// characters for n bytes. Never fails.
std::string Base64Encode(std::string_view bytes);

// What Base64Decode throws for a text whose length is no multiple of 4. Its message is
// "Base64: Incorrect string format".
class Base64FormatError : public std::runtime_error {
 public:
  Base64FormatError();
};

// The bytes of Base64 text. The length must be a multiple of 4 (else Base64FormatError);
// nothing else is checked: `A`-`Z`, `a`-`z`, `0`-`9` and `+` have their values and every
// other character counts as 63. The last group gives one byte when its third character
// is `=`, two when its fourth is, three otherwise; `=` anywhere else counts as 63.
std::string Base64Decode(std::string_view text);

// Pairs of hexadecimal digits (either case), high digit first, up to the first pair that
// is not two hexadecimal digits; an odd last digit is ignored. This is the data of an
// embedded data block.
std::string decode_hex_prefix(std::u16string_view text);

// The byte stream of hexadecimal text: (text length) / 2 bytes, filled from the pairs of
// digits up to the first pair that is not two hexadecimal digits and with zero bytes
// after it. Nothing for an empty text.
std::optional<std::string> HexToBytes(std::u16string_view text);

}  // namespace dorovev
