// Short dates: patterns in both directions, the two-digit year window, day numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "values/short_date.h"

namespace dorovev {
namespace {

struct DateCase {
  const char16_t* pattern;
  const char16_t* text;
  CalendarDate date;
  const char16_t* formatted;  // the date written back in the pattern
};

TEST(ShortDate, ReadsAndWritesTheCommonPatterns) {
  const DateCase cases[] = {
      {u"M/d/yyyy", u"1/15/2009", {2009, 1, 15}, u"1/15/2009"},
      {u"M/d/yyyy", u"01/05/2009", {2009, 1, 5}, u"1/5/2009"},
      {u"dd.MM.yyyy", u"05.03.2009", {2009, 3, 5}, u"05.03.2009"},
      {u"dd.MM.yyyy", u"5.3.2009", {2009, 3, 5}, u"05.03.2009"},
      {u"yyyy-MM-dd", u"2009-01-15", {2009, 1, 15}, u"2009-01-15"},
      {u"yyyyMMdd", u"20090115", {2009, 1, 15}, u"20090115"},
      {u"d/M/yy", u"3/5/09", {2009, 5, 3}, u"3/5/09"},
      {u"d/M/yy", u"1/1/2045", {2045, 1, 1}, u"1/1/45"},
      {u"dd/MM/yyyy", u" 29/02/2008 ", {2008, 2, 29}, u"29/02/2008"},
      {u"yyyy. MM. dd.", u"2009.  03. 05.", {2009, 3, 5}, u"2009. 03. 05."},
      {u"dd-MMM-yy", u"05-mar-09", {2009, 3, 5}, u"05-Mar-09"},
      {u"dd-MMM-yy", u"05-March-09", {2009, 3, 5}, u"05-Mar-09"},
      {u"dddd, MMMM d, yyyy", u"Thursday, March 5, 2009", {2009, 3, 5}, u"Thursday, March 5, 2009"},
      {u"ddd d MMMM yyyy", u"Sat 30 December 1899", {1899, 12, 30}, u"Sat 30 December 1899"},
      {u"yyyy'y' M'm' d'd'", u"2009y 3m 5d", {2009, 3, 5}, u"2009y 3m 5d"},
      {u"'d''o'dd/MM/yyyy gg", u"d'o05/03/2009 ", {2009, 3, 5}, u"d'o05/03/2009 "},
      {u"dd/MM/yyyy", u"01/01/0001", {1, 1, 1}, u"01/01/0001"},
  };
  for (const DateCase& c : cases) {
    const std::u16string_view text(c.text);
    const auto date = parse_short_date(c.text, c.pattern);
    ASSERT_TRUE(date.has_value()) << text.size();
    EXPECT_EQ(*date, c.date) << text.size();
    EXPECT_EQ(format_short_date(c.date, c.pattern), c.formatted) << text.size();
  }
}

TEST(ShortDate, TwoDigitYearsFallFrom1930To2029) {
  const struct {
    const char16_t* text;
    int year;
  } cases[] = {{u"1/1/29", 2029}, {u"1/1/30", 1930}, {u"1/1/99", 1999}, {u"1/1/00", 2000}, {u"1/1/5", 2005},
               {u"1/1/0029", 29}, {u"1/1/130", 130}};
  for (const auto& c : cases) {
    const auto date = parse_short_date(c.text, u"M/d/yyyy");
    ASSERT_TRUE(date.has_value()) << c.year;
    EXPECT_EQ(date->year, c.year);
  }
}

TEST(ShortDate, RejectsTextThatIsNoDateInThePattern) {
  const struct {
    const char16_t* pattern;
    const char16_t* text;
  } cases[] = {
      {u"M/d/yyyy", u""}, {u"M/d/yyyy", u"abc"}, {u"M/d/yyyy", u"13/1/2009"}, {u"M/d/yyyy", u"0/1/2009"},
      {u"M/d/yyyy", u"2/29/2009"}, {u"M/d/yyyy", u"4/31/2009"}, {u"M/d/yyyy", u"1/15/2009x"},
      {u"M/d/yyyy", u"1-15-2009"}, {u"M/d/yyyy", u"1/15"}, {u"M/d/yyyy", u"1/15/"}, {u"M/d/yyyy", u"1/1/0000"},
      {u"M/d/yyyy", u"1/1/20090"}, {u"M/d/yyyy", u"123/1/2009"}, {u"M/d/yyyy", u"1.5"},
      {u"M/d/yyyy", u"2009-01-15"}, {u"dd.MM.yyyy", u"1/15/2009"}, {u"dd-MMM-yy", u"05-Mrz-09"},
      {u"dd/MM", u"05/03"}, {u"", u"5/3/2009"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(parse_short_date(c.text, c.pattern)) << std::u16string_view(c.text).size();
  }
}

TEST(DayNumber, CountsFromTheSystemsDayZero) {
  const struct {
    CalendarDate date;
    std::int32_t number;
  } cases[] = {{{1899, 12, 30}, 0}, {{1899, 12, 29}, -1}, {{1900, 1, 1}, 2}, {{1900, 3, 1}, 61},
               {{2009, 1, 15}, 39828}, {{2000, 2, 29}, 36585}, {{1, 1, 1}, -693593}, {{9999, 12, 31}, 2958465}};
  for (const auto& c : cases) {
    EXPECT_EQ(day_number(c.date), c.number) << c.number;
    EXPECT_EQ(date_of_day_number(c.number), c.date) << c.number;
  }
}

// Checks every day from 1 January 1 to 31 December 9999; the checks are plain
// comparisons so that three and a half million of them stay cheap.
TEST(DayNumber, EveryDayOfTheRangeFollowsTheOneBefore) {
  const auto follows = [](CalendarDate date, CalendarDate previous) {
    if (date.year == previous.year && date.month == previous.month) return date.day == previous.day + 1;
    const bool month_ended = !is_valid_date({previous.year, previous.month, previous.day + 1});
    const bool next_month = date.year == previous.year ? date.month == previous.month + 1
                                                       : date.year == previous.year + 1 && date.month == 1;
    return month_ended && next_month && date.day == 1;
  };
  std::int32_t first_wrong = 0;
  CalendarDate previous = date_of_day_number(day_number({1, 1, 1}));
  for (std::int32_t number = day_number({1, 1, 1}) + 1; number <= day_number({9999, 12, 31}); ++number) {
    const CalendarDate date = date_of_day_number(number);
    if (!is_valid_date(date) || !follows(date, previous) || day_number(date) != number) {
      first_wrong = number;
      break;
    }
    previous = date;
  }
  EXPECT_EQ(first_wrong, 0);
  EXPECT_EQ(previous, (CalendarDate{9999, 12, 31}));
}

TEST(AddDays, MovesByWholeDaysAndStaysInTheCalendar) {
  const struct {
    CalendarDate date;
    double days;
    CalendarDate expected;
  } cases[] = {
      {{2009, 1, 31}, 1, {2009, 2, 1}},    {{2008, 12, 31}, 1, {2009, 1, 1}}, {{2009, 3, 1}, -1, {2009, 2, 28}},
      {{2008, 3, 1}, -1, {2008, 2, 29}},   {{2009, 3, 5}, 0.5, {2009, 3, 5}}, {{2009, 3, 5}, -0.5, {2009, 3, 4}},
      {{2009, 3, 5}, 1.9, {2009, 3, 6}},   {{2009, 1, 15}, 365, {2010, 1, 15}},
      {{1899, 12, 30}, -0.5, {1899, 12, 29}}, {{9999, 12, 30}, 1, {9999, 12, 31}}, {{1, 1, 2}, -1, {1, 1, 1}},
  };
  for (const auto& c : cases) {
    const auto moved = add_days(c.date, c.days);
    ASSERT_TRUE(moved.has_value()) << c.days;
    EXPECT_EQ(*moved, c.expected) << c.days;
  }
  for (double days : {1.0, 1e300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(add_days({9999, 12, 31}, days)) << days;
  }
  EXPECT_FALSE(add_days({1, 1, 1}, -1));
  EXPECT_FALSE(add_days({1, 1, 1}, -1e300));
}

}  // namespace
}  // namespace dorovev
