// Command codes: the short upper-case key by which a line is dispatched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorovev {

// A code of up to three UTF-16 units, packed into one integer so that codes compare,
// hash and switch cheaply. The empty code belongs to an empty line.
class CommandCode {
 public:
  constexpr CommandCode() noexcept = default;
  // From a literal such as "WWO"; only the first three characters count.
  constexpr explicit CommandCode(std::u16string_view text) noexcept {
    for (std::size_t i = 0; i < text.size() && i < 3; ++i) {
      packed_ |= std::uint64_t{text[i]} << (16 * (2 - i));
    }
    packed_ |= std::uint64_t{text.size() < 3 ? text.size() : 3} << 48;
  }

  constexpr std::uint64_t key() const noexcept { return packed_; }
  constexpr std::size_t size() const noexcept { return static_cast<std::size_t>(packed_ >> 48); }
  constexpr char16_t first_letter() const noexcept { return static_cast<char16_t>(packed_ >> 32); }
  std::u16string text() const {
    std::u16string out;
    for (std::size_t i = 0; i < size(); ++i) out.push_back(static_cast<char16_t>(packed_ >> (16 * (2 - i))));
    return out;
  }

  friend constexpr bool operator==(CommandCode a, CommandCode b) noexcept { return a.packed_ == b.packed_; }

 private:
  std::uint64_t packed_ = 0;
};

namespace codes {
constexpr CommandCode operator""_code(const char16_t* text, std::size_t size) noexcept {
  return CommandCode(std::u16string_view(text, size));
}
}  // namespace codes

// The code of a line: its first three characters upper-cased, then the long-name rules
// of the code's group. `line` must already be left-trimmed.
CommandCode command_code_of(std::u16string_view line) noexcept;
// The same, given the position of the line's first `>` (npos when it has none).
CommandCode command_code_of(std::u16string_view line, std::size_t separator) noexcept;

}  // namespace dorovev
