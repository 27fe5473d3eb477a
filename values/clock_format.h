// The texts of the date and time commands, built from one reading of the local clock:
// the fields ("yyyy", "mm", "dd", "hh", "nn", "ss"), the weekday number, the time in the
// user's long time format, and the prefixes of time-stamped and date-stamped lines.
#pragma once

#include <string>
#include <string_view>

#include "values/short_date.h"

namespace dorovev {

// The local date and time of day, as the platform reads the clock.
struct LocalTime {
  int year, month, day;
  int hour, minute, second, millisecond;
};

// The date part, for the short date format (format_short_date).
constexpr CalendarDate calendar_date(const LocalTime& time) noexcept { return {time.year, time.month, time.day}; }

// The fields with their usual widths: the year in full with at least four digits, the
// others with two (milliseconds with three), leading zeros added. A value outside its
// range is written as it stands, with its sign when negative; nothing is cut off.
std::u16string format_year(const LocalTime& time);         // "yyyy"
std::u16string format_month(const LocalTime& time);        // "mm"
std::u16string format_day(const LocalTime& time);          // "dd"
std::u16string format_hour(const LocalTime& time);         // "hh", 00 to 23
std::u16string format_minute(const LocalTime& time);       // "nn"
std::u16string format_second(const LocalTime& time);       // "ss"

// The weekday of the date: 1 is Sunday, 7 is Saturday (5 March 2009 is a Thursday, 5).
// Computed in the proleptic Gregorian calendar for any field values: a month outside
// 1 to 12 moves the year, and a day outside the month counts on into the next months or
// back into the earlier ones.
int weekday_number(const LocalTime& time) noexcept;

// The prefix of a line written by the time stamp command: "hh:nn:ss:zzz - ".
std::u16string time_stamp_prefix(const LocalTime& time);
// The prefix of a line written by the date stamp command: "yyyy-mm-dd:hh:nn:ss:zzz - ".
std::u16string date_stamp_prefix(const LocalTime& time);

// The strings a time picture shows for the two halves of the day.
struct TimeDesignators {
  std::u16string am = u"AM";
  std::u16string pm = u"PM";
};

// Formats the time of day in a Windows time picture, as the user's long time format
// states it ("h:mm:ss tt", "HH:mm:ss", "tt hh:mm:ss", "H' h 'mm"). The picture letters:
//
//   h    hour of the 12-hour clock (1 to 12), no leading zero
//   hh   the same with two digits
//   H    hour of the 24-hour clock (0 to 23), no leading zero
//   HH   the same with two digits
//   m mm minute, without and with a leading zero
//   s ss second, without and with a leading zero
//   t    the first character of the designator (A or P); nothing when it is empty
//   tt   the whole designator: designators.am before noon, designators.pm from noon on
//
// As Windows does, a run of one of these letters longer than two counts as the
// two-letter form ("hhh" is "hh", "ttt" is "tt"). Letters are case-sensitive: only
// these five are fields, so "M", "S", "T", "d" or "y" are literal text. Text between
// single quotes is literal, and within it two single quotes stand for one; an
// unterminated quote runs to the end of the picture. Every other character is copied
// as it stands. Midnight is 12 on the 12-hour clock and AM, noon 12 and PM.
//
// Any picture and any field values give a result: an hour outside 0 to 23 takes its
// 12-hour value and its half of the day from the hour modulo 24, and numbers outside
// their ranges are written with their sign. The result is never longer than the
// picture times the larger of 11 (the widest number) and the longer designator.
std::u16string format_time_picture(const LocalTime& time, std::u16string_view picture,
                                   const TimeDesignators& designators);

}  // namespace dorovev
