// Fuzzes short dates: reading any text in a set of patterns, and the pattern itself.
// A date that reads must write back in the same pattern to a text that reads as the
// same date.
#include <cstddef>
#include <cstdint>
#include <string>

#include "values/number_format.h"
#include "values/short_date.h"

using namespace dorovev;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char16_t* const kPatterns[] = {u"M/d/yyyy", u"dd.MM.yyyy", u"yyyy-MM-dd", u"d/M/yy",
                                               u"dd MMM yyyy", u"dddd, MMMM d, yyyy", u"yy'年'M'月'd'日'"};
  if (size == 0) return 0;
  const std::u16string_view pattern = kPatterns[data[0] % std::size(kPatterns)];
  const std::u16string text(data + 1, data + size);

  if (const std::optional<CalendarDate> date = parse_short_date(text, pattern)) {
    if (!is_valid_date(*date)) __builtin_trap();
    const std::u16string written = format_short_date(*date, pattern);
    const std::optional<CalendarDate> again = parse_short_date(written, pattern);
    // Two-digit years fold into a century window, so only the four-digit patterns must
    // give back the very date.
    if (!again) __builtin_trap();
    if (pattern.find(u"yyyy") != std::u16string_view::npos && !(*again == *date)) __builtin_trap();
    (void)add_days(*date, static_cast<double>(static_cast<std::int8_t>(data[0])) * 1000.5);
  }
  // The text as a pattern of its own, and as a number in the user's locale.
  (void)format_short_date(CalendarDate{2009, 1, 15}, text);
  (void)parse_short_date(u"1/15/2009", text);
  (void)read_locale_real(text, u',');
  (void)read_locale_real(text, u'.');
  return 0;
}
