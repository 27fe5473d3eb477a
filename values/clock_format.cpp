// Clock texts: fixed-width fields, the weekday, stamp prefixes and Windows time pictures.
#include "values/clock_format.h"

#include <cstdint>

namespace dorovev {
namespace {

// The number with at least `width` digits (leading zeros), a minus sign before them when
// negative. At most 11 code units for any int.
void append_number(std::u16string& out, int value, std::size_t width) {
  const bool negative = value < 0;
  std::uint32_t rest = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  char16_t digits[10];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (negative) out += u'-';
  if (count < width) out.append(width - count, u'0');
  while (count > 0) out += digits[--count];
}

std::u16string number_text(int value, std::size_t width) {
  std::u16string out;
  append_number(out, value, width);
  return out;
}

// Floor division and the matching remainder, for the calendar of any field values.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) noexcept {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}
constexpr std::int64_t floor_mod(std::int64_t a, std::int64_t b) noexcept { return a - floor_div(a, b) * b; }

// Days from 1 January 1970 to the first of the month, proleptic Gregorian (the civil
// algorithm counted from 1 March of year 0 in 400-year eras).
std::int64_t days_to_month_start(std::int64_t year, std::int64_t month) noexcept {
  year += floor_div(month - 1, 12);
  month = floor_mod(month - 1, 12) + 1;
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = floor_div(y, 400);
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// The 12-hour clock: the hour of the day modulo 24, 0 and 12 shown as 12.
int twelve_hour(int hour) noexcept {
  const int of_day = static_cast<int>(floor_mod(hour, 24));
  const int twelve = of_day % 12;
  return twelve == 0 ? 12 : twelve;
}

bool after_noon(int hour) noexcept { return floor_mod(hour, 24) >= 12; }

constexpr bool is_high_surrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool is_low_surrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

// "t": the first character of the designator, both halves of a surrogate pair.
void append_first_character(std::u16string& out, std::u16string_view designator) {
  if (designator.empty()) return;
  const std::size_t length = designator.size() > 1 && is_high_surrogate(designator[0]) &&
                                     is_low_surrogate(designator[1])
                                 ? 2
                                 : 1;
  out.append(designator.substr(0, length));
}

// The quoted text that starts after the opening quote at `i`; two quotes stand for one.
// Returns the position after the closing quote (the end of the picture without one).
std::size_t append_quoted(std::u16string& out, std::u16string_view picture, std::size_t i) {
  for (++i; i < picture.size(); ++i) {
    if (picture[i] != u'\'') {
      out += picture[i];
    } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
      out += u'\'';
      ++i;
    } else {
      return i + 1;
    }
  }
  return i;
}

constexpr bool is_time_letter(char16_t c) noexcept {
  return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't';
}

}  // namespace

std::u16string format_year(const LocalTime& time) { return number_text(time.year, 4); }
std::u16string format_month(const LocalTime& time) { return number_text(time.month, 2); }
std::u16string format_day(const LocalTime& time) { return number_text(time.day, 2); }
std::u16string format_hour(const LocalTime& time) { return number_text(time.hour, 2); }
std::u16string format_minute(const LocalTime& time) { return number_text(time.minute, 2); }
std::u16string format_second(const LocalTime& time) { return number_text(time.second, 2); }

int weekday_number(const LocalTime& time) noexcept {
  const std::int64_t days = days_to_month_start(time.year, time.month) + (static_cast<std::int64_t>(time.day) - 1);
  // 1 January 1970 was a Thursday (weekday 5).
  return static_cast<int>(floor_mod(days + 4, 7)) + 1;
}

std::u16string time_stamp_prefix(const LocalTime& time) {
  std::u16string out;
  append_number(out, time.hour, 2);
  out += u':';
  append_number(out, time.minute, 2);
  out += u':';
  append_number(out, time.second, 2);
  out += u':';
  append_number(out, time.millisecond, 3);
  out += u" - ";
  return out;
}

std::u16string date_stamp_prefix(const LocalTime& time) {
  std::u16string out;
  append_number(out, time.year, 4);
  out += u'-';
  append_number(out, time.month, 2);
  out += u'-';
  append_number(out, time.day, 2);
  out += u':';
  out += time_stamp_prefix(time);
  return out;
}

std::u16string format_time_picture(const LocalTime& time, std::u16string_view picture,
                                   const TimeDesignators& designators) {
  std::u16string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      i = append_quoted(out, picture, i);
      continue;
    }
    if (!is_time_letter(c)) {
      out += c;
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    i += run;
    const std::size_t width = run >= 2 ? 2 : 1;
    switch (c) {
      case u'h': append_number(out, twelve_hour(time.hour), width); break;
      case u'H': append_number(out, time.hour, width); break;
      case u'm': append_number(out, time.minute, width); break;
      case u's': append_number(out, time.second, width); break;
      default: {  // u't'
        const std::u16string& designator = after_noon(time.hour) ? designators.pm : designators.am;
        if (width == 1) {
          append_first_character(out, designator);
        } else {
          out += designator;
        }
        break;
      }
    }
  }
  return out;
}

}  // namespace dorovev
