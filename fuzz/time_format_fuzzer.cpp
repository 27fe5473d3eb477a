// Fuzzes the time picture formatter (the long time format of GetTime>) and the other
// clock texts with any picture, any designators and any clock fields.
//
// Input: one flag byte, seven 32-bit little-endian clock fields (year, month, day, hour,
// minute, second, millisecond; missing bytes read as 0), then text: the picture, the AM
// designator and the PM designator, separated by line feeds. Flag bit 0 reads the text as
// UTF-16LE (lone surrogates included) instead of the ANSI code page; bit 1 keeps the
// clock fields as they are instead of folding them into their real ranges.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/fake_platform.h"
#include "values/clock_format.h"
#include "values/short_date.h"

using namespace dorovev;

namespace {

std::int32_t read_field(const std::uint8_t*& data, std::size_t& size) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    if (size > 0) {
      value |= std::uint32_t{*data} << (8 * i);
      ++data, --size;
    }
  }
  return static_cast<std::int32_t>(value);
}

// A value from 0 to span - 1, for any field value.
int fold(std::int32_t value, int span) {
  return static_cast<int>(static_cast<std::uint32_t>(value) % static_cast<std::uint32_t>(span));
}

// The picture that shows `text` literally: all of it quoted, its quotes doubled.
std::u16string quoted(std::u16string_view text) {
  std::u16string picture = u"'";
  for (char16_t c : text) {
    picture += c;
    if (c == u'\'') picture += u'\'';
  }
  picture += u'\'';
  return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  ++data, --size;
  LocalTime time{};
  int* const fields[] = {&time.year, &time.month, &time.day, &time.hour, &time.minute, &time.second, &time.millisecond};
  for (int* field : fields) *field = read_field(data, size);
  const bool in_range = (flags & 2) == 0;
  if (in_range) {
    time = {1601 + fold(time.year, 8399), 1 + fold(time.month, 12), 1 + fold(time.day, 28),
            fold(time.hour, 24),          fold(time.minute, 60),    fold(time.second, 60),
            fold(time.millisecond, 1000)};
  }

  std::u16string text;
  if (flags & 1) {
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  } else {
    static testing::FakePlatform platform;  // its code page (Windows-1252) keeps no state
    text = platform.ansi_to_text(std::string_view(reinterpret_cast<const char*>(data), size));
  }
  const std::size_t first_break = std::min(text.find(u'\n'), text.size());
  const std::u16string_view picture = std::u16string_view(text).substr(0, first_break);
  TimeDesignators designators;
  if (first_break < text.size()) {
    const std::u16string_view rest = std::u16string_view(text).substr(first_break + 1);
    const std::size_t second_break = std::min(rest.find(u'\n'), rest.size());
    designators.am = rest.substr(0, second_break);
    designators.pm = second_break < rest.size() ? rest.substr(second_break + 1) : std::u16string_view();
  }

  // Any picture gives a result within the documented bound.
  const std::u16string out = format_time_picture(time, picture, designators);
  const std::size_t widest = std::max({std::size_t{11}, designators.am.size(), designators.pm.size()});
  if (out.size() > picture.size() * widest) __builtin_trap();

  // Quoted, any text stands for itself.
  if (format_time_picture(time, quoted(picture), designators) != picture) __builtin_trap();

  const int weekday = weekday_number(time);
  if (weekday < 1 || weekday > 7) __builtin_trap();
  const std::u16string time_stamp = time_stamp_prefix(time);
  const std::u16string date_stamp = date_stamp_prefix(time);
  if (!date_stamp.ends_with(time_stamp)) __builtin_trap();

  if (in_range) {
    // Fixed widths, and the two-letter fields agree with the field texts.
    if (time_stamp.size() != 15 || date_stamp.size() != 26) __builtin_trap();
    const std::u16string clock = format_hour(time) + u":" + format_minute(time) + u":" + format_second(time);
    if (format_time_picture(time, u"HH:mm:ss", designators) != clock) __builtin_trap();
    if (!time_stamp.starts_with(clock)) __builtin_trap();
    const std::u16string twelve = format_time_picture(time, u"h", designators);
    if (twelve.empty() || twelve.size() > 2 || twelve == u"0") __builtin_trap();
    // The weekday agrees with the short date's own calendar, which names it.
    static const char16_t* const kNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
    if (format_short_date(calendar_date(time), u"dddd") != kNames[weekday - 1]) __builtin_trap();
    // The picture as a short date pattern too, as GetDate> uses it.
    (void)format_short_date(calendar_date(time), picture);
  }
  return 0;
}
