// Short dates: the calendar, the pattern reader, formatting and parsing.
//
// A pattern is read once into parts (a field with its width, or literal text), and both
// directions walk the same parts, so a date formatted in a pattern always parses back
// in it. Parsing is lenient about digit counts, as people type "5/3/2009" against a
// pattern that says "dd/MM/yyyy", but strict about separators and leftovers.
#include "values/short_date.h"

#include <array>
#include <cmath>
#include <vector>

#include "values/ascii.h"

namespace dorovev {
namespace {

// The two-digit year window of the system's default: 30 to 99 are 19xx, 00 to 29 20xx.
constexpr int kFirstWindowedYear = 1930;

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 7> kWeekdayNames = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

enum class Field { kLiteral, kDay, kWeekday, kMonth, kMonthName, kYear };

struct PatternPart {
  Field field;
  std::size_t width;     // of the letter run
  std::u16string literal;  // kLiteral only
};

Field field_of(char16_t letter, std::size_t width) {
  if (letter == u'd') return width <= 2 ? Field::kDay : Field::kWeekday;
  if (letter == u'M') return width <= 2 ? Field::kMonth : Field::kMonthName;
  return Field::kYear;
}

void append_literal(std::vector<PatternPart>& parts, std::u16string_view text) {
  if (parts.empty() || parts.back().field != Field::kLiteral) parts.push_back({Field::kLiteral, 0, {}});
  parts.back().literal.append(text);
}

// The quoted text starting after the opening quote at `i`; two quotes stand for one.
std::size_t read_quoted(std::vector<PatternPart>& parts, std::u16string_view pattern, std::size_t i) {
  for (++i; i < pattern.size(); ++i) {
    if (pattern[i] != u'\'') {
      append_literal(parts, pattern.substr(i, 1));
    } else if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
      append_literal(parts, u"'");
      ++i;
    } else {
      return i + 1;
    }
  }
  return i;
}

std::vector<PatternPart> read_pattern(std::u16string_view pattern) {
  std::vector<PatternPart> parts;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c == u'\'') {
      i = read_quoted(parts, pattern, i);
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == u'd' || c == u'M' || c == u'y') {
      parts.push_back({field_of(c, run), run, {}});
    } else if (c != u'g') {
      append_literal(parts, pattern.substr(i, run));
    }
    i += run;
  }
  return parts;
}

void append_number(std::u16string& out, int value, std::size_t width) {
  std::u16string digits;
  for (int rest = value;; rest /= 10) {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest % 10));
    if (rest < 10) break;
  }
  if (digits.size() < width) out.append(width - digits.size(), u'0');
  out += digits;
}

void append_name(std::u16string& out, std::u16string_view name, std::size_t width) {
  out.append(width == 3 ? name.substr(0, 3) : name);
}

int weekday_of(CalendarDate date) noexcept {  // 0 is Sunday
  const std::int32_t number = day_number(date);
  return static_cast<int>(((number % 7) + 7 + 6) % 7);
}

void append_field(std::u16string& out, const PatternPart& part, CalendarDate date) {
  switch (part.field) {
    case Field::kLiteral: out += part.literal; break;
    case Field::kDay: append_number(out, date.day, part.width); break;
    case Field::kMonth: append_number(out, date.month, part.width); break;
    case Field::kWeekday:
      append_name(out, kWeekdayNames[static_cast<std::size_t>(weekday_of(date))], part.width);
      break;
    case Field::kMonthName:
      append_name(out, kMonthNames[static_cast<std::size_t>(date.month - 1)], part.width);
      break;
    case Field::kYear:
      if (part.width <= 2) append_number(out, date.year % 100, part.width);
      else append_number(out, date.year, 4);
      break;
  }
}

// Reading state: the text, the position, and the fields found so far.
struct DateReader {
  std::u16string_view text;
  std::size_t at = 0;
  int day = 0;
  int month = 0;
  int year = 0;
  std::size_t year_digits = 0;

  void skip_spaces() {
    while (at < text.size() && text[at] == u' ') ++at;
  }

  // One to `most` digits; 0 digits read means failure.
  std::size_t read_number(int& value, std::size_t most) {
    std::size_t digits = 0;
    value = 0;
    while (digits < most && at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
      value = value * 10 + (text[at++] - u'0');
      ++digits;
    }
    return digits;
  }

  bool read_literal(std::u16string_view literal) {
    for (char16_t c : literal) {
      if (c == u' ') {
        skip_spaces();
      } else if (at < text.size() && text[at] == c) {
        ++at;
      } else {
        return false;
      }
    }
    return true;
  }

  // A full English month name or its first three letters, in any case.
  bool read_month_name() {
    for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
      for (std::size_t length : {kMonthNames[m].size(), std::size_t{3}}) {
        const std::u16string_view name = kMonthNames[m].substr(0, length);
        if (equals_ignoring_ascii_case(text.substr(at, length), name)) {
          month = static_cast<int>(m) + 1;
          at += length;
          return true;
        }
      }
    }
    return false;
  }

  // A weekday name says nothing the date does not: any run of letters passes.
  bool skip_letters() {
    const std::size_t start = at;
    while (at < text.size() && ((text[at] >= u'a' && text[at] <= u'z') || (text[at] >= u'A' && text[at] <= u'Z'))) ++at;
    return at > start;
  }

  bool read(const PatternPart& part) {
    switch (part.field) {
      case Field::kLiteral: return read_literal(part.literal);
      case Field::kDay: return read_number(day, 2) > 0;
      case Field::kMonth: return read_number(month, 2) > 0;
      case Field::kYear: return (year_digits = read_number(year, 4)) > 0;
      case Field::kMonthName: return read_month_name();
      case Field::kWeekday: return skip_letters();
    }
    return false;
  }
};

int windowed_year(int year_in_century) {
  const int century = kFirstWindowedYear / 100 * 100;
  const int year = century + year_in_century;
  return year < kFirstWindowedYear ? year + 100 : year;
}

}  // namespace

bool is_valid_date(CalendarDate date) noexcept {
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  const int last = kDaysInMonth[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
  return date.day <= last;
}

// The civil-calendar conversions count days from 1 March of year 0 in 400-year eras;
// 719468 is 1 January 1970 in that count, 25569 is 1 January 1970 as a serial date.
constexpr std::int32_t kSerialShift = 25569 - 719468;

std::int32_t day_number(CalendarDate date) noexcept {
  const int year = date.year - (date.month <= 2 ? 1 : 0);
  const int era = year / 400;  // valid years are positive
  const int year_of_era = year - era * 400;
  const int day_of_year = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era + kSerialShift;
}

CalendarDate date_of_day_number(std::int32_t number) noexcept {
  const int days = number - kSerialShift;
  const int era = days / 146097;
  const int day_of_era = days - era * 146097;
  const int year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int shifted_month = (5 * day_of_year + 2) / 153;
  const int day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const int month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::optional<CalendarDate> add_days(CalendarDate date, double days) noexcept {
  const double target = std::floor(static_cast<double>(day_number(date)) + days);
  if (!(target >= day_number({1, 1, 1}) && target <= day_number({9999, 12, 31}))) return std::nullopt;
  return date_of_day_number(static_cast<std::int32_t>(target));
}

std::u16string format_short_date(CalendarDate date, std::u16string_view pattern) {
  std::u16string out;
  for (const PatternPart& part : read_pattern(pattern)) append_field(out, part, date);
  return out;
}

std::optional<CalendarDate> parse_short_date(std::u16string_view text, std::u16string_view pattern) {
  DateReader reader{text};
  reader.skip_spaces();
  bool has_day = false, has_month = false, has_year = false;
  for (const PatternPart& part : read_pattern(pattern)) {
    if (!reader.read(part)) return std::nullopt;
    has_day |= part.field == Field::kDay;
    has_month |= part.field == Field::kMonth || part.field == Field::kMonthName;
    has_year |= part.field == Field::kYear;
  }
  reader.skip_spaces();
  if (reader.at != text.size() || !has_day || !has_month || !has_year) return std::nullopt;
  const int year = reader.year_digits <= 2 ? windowed_year(reader.year) : reader.year;
  const CalendarDate date{year, reader.month, reader.day};
  if (!is_valid_date(date)) return std::nullopt;
  return date;
}

}  // namespace dorovev
