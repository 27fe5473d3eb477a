// Dates in the user's short date format, and the day numbers that date arithmetic uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorovev {

struct CalendarDate {
  int year;
  int month;  // 1 to 12
  int day;    // 1 to 31
  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// A real Gregorian date from the year 1 to the year 9999.
bool is_valid_date(CalendarDate date) noexcept;

// Day numbers follow the system's serial dates: day 0 is 30 December 1899. The date must
// be valid, and the number must belong to a valid date.
std::int32_t day_number(CalendarDate date) noexcept;
CalendarDate date_of_day_number(std::int32_t number) noexcept;

// The date `days` later (earlier when negative). A fraction of a day moves the result
// as the instant would move: half a day forward stays on the same day, half a day back
// is the day before. Nothing when the result is not a valid date.
std::optional<CalendarDate> add_days(CalendarDate date, double days) noexcept;

// Short date patterns are those the system states, such as "M/d/yyyy", "dd.MM.yyyy",
// "yyyy-MM-dd" or "d/M/yy": `d`/`dd` day, `M`/`MM` month, `MMM`/`MMMM` month name,
// `ddd`/`dddd` weekday name, `y`/`yy` year in the century, `yyyy` year, `g` era (left
// out), text in single quotes and any other character as it stands. Names are English.
std::u16string format_short_date(CalendarDate date, std::u16string_view pattern);

// Reads a date written in the pattern. Day and month take one or two digits whatever
// their width, the year one to four digits; a year of one or two digits falls in 1930
// to 2029. Spaces in the pattern match any run of spaces, and spaces around the date
// are ignored. Nothing when the text does not follow the pattern or names no real date.
std::optional<CalendarDate> parse_short_date(std::u16string_view text, std::u16string_view pattern);

}  // namespace dorovev
