// Number formats: the general format, the two-decimal format, and the locale reader.
//
// Both formats start from the shortest exact decimal forms the standard library gives
// (std::to_chars), so the output does not depend on the C locale or on the rounding of
// a platform's printf. The general format rounds to 15 significant digits first and
// only then decides between fixed and scientific notation, so 999999999999999.9 is
// written as 1E15, just as a value that rounds up to 0.0001 stays in fixed notation.
#include "values/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "values/ascii.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLowestFixedExponent = -4;  // 0.0001
constexpr int kHighestFixedExponent = kSignificantDigits - 1;

// A finite, non-zero value rounded to 15 significant digits: the digits without
// trailing zeros, and the power of ten of the first one.
struct Decimal {
  bool negative;
  std::string digits;
  int exponent;
};

Decimal to_decimal(double value) {
  std::array<char, 48> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string text(buffer.data(), result.ptr);  // "-d.dddddddddddddde-xx"
  Decimal decimal{text[0] == '-', {}, 0};
  const std::size_t exponent_mark = text.find('e');
  for (std::size_t i = decimal.negative ? 1 : 0; i < exponent_mark; ++i) {
    if (text[i] != '.') decimal.digits.push_back(text[i]);
  }
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  decimal.exponent = std::atoi(text.c_str() + exponent_mark + 1);
  return decimal;
}

std::u16string fixed_notation(const Decimal& decimal, char16_t separator) {
  const std::string& digits = decimal.digits;
  std::u16string out;
  if (decimal.exponent < 0) {
    out = u"0";
    out.push_back(separator);
    out.append(static_cast<std::size_t>(-decimal.exponent - 1), u'0');
    out += widen_ascii(digits);
    return out;
  }
  const std::size_t integer_digits = static_cast<std::size_t>(decimal.exponent) + 1;
  if (digits.size() <= integer_digits) {
    out = widen_ascii(digits);
    out.append(integer_digits - digits.size(), u'0');
    return out;
  }
  out = widen_ascii(std::string_view(digits).substr(0, integer_digits));
  out.push_back(separator);
  out += widen_ascii(std::string_view(digits).substr(integer_digits));
  return out;
}

std::u16string scientific_notation(const Decimal& decimal, char16_t separator) {
  std::u16string out = widen_ascii(std::string_view(decimal.digits).substr(0, 1));
  if (decimal.digits.size() > 1) {
    out.push_back(separator);
    out += widen_ascii(std::string_view(decimal.digits).substr(1));
  }
  out.push_back(u'E');
  if (decimal.exponent < 0) out.push_back(u'-');
  out += widen_ascii(std::to_string(std::abs(decimal.exponent)));
  return out;
}

}  // namespace

std::u16string format_general(double value, char16_t separator) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return u"0";  // negative zero too
  const Decimal decimal = to_decimal(value);
  const bool fixed = decimal.exponent >= kLowestFixedExponent && decimal.exponent <= kHighestFixedExponent;
  std::u16string body = fixed ? fixed_notation(decimal, separator) : scientific_notation(decimal, separator);
  return decimal.negative ? u"-" + body : body;
}

std::u16string format_two_decimals(double value) {
  if (!std::isfinite(value)) return {};
  const bool whole = value == std::trunc(value);
  // Counters and other whole numbers, written without the general conversion.
  if (whole && std::fabs(value) < 1e15) {
    const auto integer = static_cast<std::int64_t>(value);
    char16_t digits[20];
    char16_t* start = digits + 20;
    std::uint64_t magnitude = integer < 0 ? 0 - static_cast<std::uint64_t>(integer) : integer;
    do {
      *--start = static_cast<char16_t>(u'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (integer < 0) *--start = u'-';
    return std::u16string(start, digits + 20);
  }
  // Halves round away from zero. Only a fraction of an odd number of eighths lies exactly
  // half way between two cents, and stepping off it by one unit in the last place lets
  // the correctly rounding conversion go the same way.
  const double eighths = value * 8;
  if (!whole && eighths == std::trunc(eighths) && std::fmod(eighths, 2) != 0) {
    value = std::nextafter(value, value > 0 ? HUGE_VAL : -HUGE_VAL);
  }
  // A double's largest whole values have 309 digits.
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, whole ? 0 : 2);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  // A value that rounds to zero is written without a sign.
  if (text == "-0" || text == "-0.00") text.remove_prefix(1);
  return widen_ascii(text);
}

std::optional<double> read_locale_real(std::u16string_view text, char16_t separator) {
  // Checks the shape with the user's separator, then hands the same number with a `.`
  // to the strict reader, which knows the range rules.
  std::u16string number;
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number.push_back(text[i++]);
  std::size_t mantissa_digits = 0;
  bool seen_separator = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      number.push_back(c);
      ++mantissa_digits;
    } else if (c == separator && !seen_separator) {
      number.push_back(u'.');
      seen_separator = true;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    number.push_back(u'e');
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number.push_back(text[i++]);
    const std::size_t exponent_start = number.size();
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') number.push_back(text[i++]);
    if (number.size() == exponent_start) return std::nullopt;
  }
  while (i < text.size() && text[i] == u' ') ++i;
  if (i != text.size()) return std::nullopt;
  return read_strict_real(number);
}

}  // namespace dorovev
