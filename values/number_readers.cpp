// The number readers: integer-or-zero, strict integer, strict real.
#include "values/number_readers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "values/ascii.h"

namespace dorovev {
namespace {

// Reads the shared integer shape to 64 bits. The result is the signed value the text
// denotes, or nothing when the text does not read or the value needs more than 64 bits
// (a decimal beyond the signed range, a hexadecimal beyond 16 digits).
struct WideInteger {
  bool negative;
  std::uint64_t magnitude;
};

std::optional<WideInteger> read_wide_integer(std::u16string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  bool hexadecimal = false;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hexadecimal = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hexadecimal = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  std::uint64_t magnitude = 0;
  const unsigned base = hexadecimal ? 16 : 10;
  for (; i < text.size(); ++i) {
    const int digit = hex_digit_value(text[i]);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return std::nullopt;
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / base) return std::nullopt;
    magnitude = magnitude * base + static_cast<unsigned>(digit);
  }
  if (!hexadecimal) {
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 63) : (std::uint64_t{1} << 63) - 1;
    if (magnitude > limit) return std::nullopt;
  }
  return WideInteger{negative, magnitude};
}

// The power of ten of the leading significant digit of a number that from_chars found
// out of range, so that underflow and overflow can be told apart. The exponent saturates.
long long decimal_magnitude(const std::string& ascii) noexcept {
  const std::size_t point = ascii.find('.');
  const std::size_t mantissa_end = ascii.find('e');
  const std::size_t integer_digits = (point == std::string::npos ? mantissa_end : point);
  // Start at the power of the first digit and step down past each leading zero.
  long long leading = static_cast<long long>(integer_digits == std::string::npos ? ascii.size() : integer_digits) - 1;
  for (std::size_t i = 0; i < ascii.size() && i != mantissa_end; ++i) {
    if (ascii[i] == '.') continue;
    if (ascii[i] != '0') break;
    --leading;
  }
  long long exponent = 0;
  if (mantissa_end != std::string::npos) {
    std::size_t j = mantissa_end + 1;
    bool negative_exponent = false;
    if (j < ascii.size() && (ascii[j] == '+' || ascii[j] == '-')) negative_exponent = ascii[j++] == '-';
    for (; j < ascii.size(); ++j) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (ascii[j] - '0');
    }
    if (negative_exponent) exponent = -exponent;
  }
  return leading + exponent;
}

}  // namespace

std::int32_t read_integer_or_zero(std::u16string_view text) noexcept {
  const auto wide = read_wide_integer(text);
  if (!wide) return 0;
  const std::uint64_t bits = wide->negative ? (0 - wide->magnitude) : wide->magnitude;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
}

std::optional<std::int64_t> read_strict_integer64(std::u16string_view text) noexcept {
  const auto wide = read_wide_integer(text);
  if (!wide) return std::nullopt;
  return static_cast<std::int64_t>(wide->negative ? 0 - wide->magnitude : wide->magnitude);
}

std::optional<std::int32_t> read_strict_integer(std::u16string_view text) noexcept {
  const auto wide = read_wide_integer(text);
  if (!wide) return std::nullopt;
  const std::uint64_t limit = wide->negative ? (std::uint64_t{1} << 31) : (std::uint64_t{1} << 31) - 1;
  if (wide->magnitude > limit) return std::nullopt;
  const std::int64_t value = wide->negative ? -static_cast<std::int64_t>(wide->magnitude)
                                            : static_cast<std::int64_t>(wide->magnitude);
  return static_cast<std::int32_t>(value);
}

namespace {

std::optional<double> read_general_real(std::u16string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  // Copy the number into ASCII for from_chars, checking its shape on the way.
  std::string ascii;
  ascii.reserve(text.size() - i + 2);
  std::size_t mantissa_digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      ascii.push_back(static_cast<char>(c));
      ++mantissa_digits;
    } else if (c == u'.' && !point) {
      point = true;
      ascii.push_back('.');
    } else {
      break;
    }
  }
  const bool has_mantissa = mantissa_digits > 0 || point;
  bool has_exponent = false;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    has_exponent = true;
    ascii.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ascii.push_back(static_cast<char>(text[i++]));
    std::size_t exponent_digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++exponent_digits) {
      ascii.push_back(static_cast<char>(text[i]));
    }
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != text.size() || (!has_mantissa && !has_exponent)) return std::nullopt;
  if (mantissa_digits == 0) return negative ? -0.0 : 0.0;

  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow does not read at all.
    if (decimal_magnitude(ascii) < 0) return negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<double> read_strict_real(std::u16string_view text) noexcept {
  // Up to 15 plain digits, perhaps signed, are exact in a double and need no general
  // conversion.
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) i = 1;
  if (i < text.size() && text.size() - i <= 15) {
    std::uint64_t whole = 0;
    std::size_t k = i;
    while (k < text.size() && text[k] >= u'0' && text[k] <= u'9') whole = whole * 10 + (text[k++] - u'0');
    if (k == text.size()) {
      const double value = static_cast<double>(whole);
      return negative ? -value : value;
    }
  }
  return read_general_real(text);
}

}  // namespace dorovev
