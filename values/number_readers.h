// The three readers through which every command turns text into a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dorovev {

// Leading spaces, an optional sign, then decimal digits or hexadecimal digits after
// `$`, `x`, `X`, `0x` or `0X`, and nothing after them. The text is read to 64 bits and
// the low 32 bits are kept; anything that does not read gives 0.
std::int32_t read_integer_or_zero(std::u16string_view text) noexcept;

// The same text, which must also fit a signed 32-bit integer by value.
std::optional<std::int32_t> read_strict_integer(std::u16string_view text) noexcept;

// The same text read to 64 bits: a decimal must fit a signed 64-bit integer by value, a
// hexadecimal may have up to 16 digits and is taken as the 64 bits it writes.
std::optional<std::int64_t> read_strict_integer64(std::u16string_view text) noexcept;

// Leading spaces, optional sign, digits, optional `.` and digits, optional exponent.
// The decimal point is always `.`, whatever the locale. "." alone and an exponent with
// no digits before it ("E5") read as 0. Values beyond the range of a double fail.
std::optional<double> read_strict_real(std::u16string_view text) noexcept;

}  // namespace dorovev
