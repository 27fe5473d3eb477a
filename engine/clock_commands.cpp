// The date and time commands: the local clock read once into a variable, and lines with a
// time or date stamp appended to a text file. The texts come from values/clock_format.
#include "engine/clock_commands.h"

#include <string>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "values/clock_format.h"
#include "values/comma_split.h"

namespace dorovev {
namespace {

using namespace codes;

// The clock commands: the whole parameter, as written, names the result variable (it is
// not resolved; AssignVariable trims it when IGNORESPACES is 1). They cannot fail.
template <std::u16string (*Format)(RunContext&, const LocalTime&)>
void clock_command(RunContext& run, std::u16string_view parameters) {
  const LocalTime now = run.platform.local_time();
  AssignVariable(run.variables, parameters, Format(run, now));
}

std::u16string date_text(RunContext& run, const LocalTime& now) {
  return format_short_date(calendar_date(now), run.platform.short_date_format());
}
std::u16string time_text(RunContext& run, const LocalTime& now) {
  return format_time_picture(now, run.platform.long_time_format(), run.platform.time_designators());
}
std::u16string year_text(RunContext&, const LocalTime& now) { return format_year(now); }
std::u16string month_text(RunContext&, const LocalTime& now) { return format_month(now); }
std::u16string day_text(RunContext&, const LocalTime& now) { return format_day(now); }
std::u16string weekday_text(RunContext&, const LocalTime& now) {
  return std::u16string(1, static_cast<char16_t>(u'0' + weekday_number(now)));
}
std::u16string hour_text(RunContext&, const LocalTime& now) { return format_hour(now); }
std::u16string minute_text(RunContext&, const LocalTime& now) { return format_minute(now); }
std::u16string second_text(RunContext&, const LocalTime& now) { return format_second(now); }

// `TIM>file,text` and `DAT>file,text`: the file is the resolved text before the first
// comma, the text the resolved rest (so it may hold commas; without a comma it is empty
// and the line is the stamp alone). One line, CR LF ended, in the ANSI code page, is
// added to the end of the file, which is created when it does not exist.
//
// A file that cannot be written gives a runtime-error report, as any fault escaping a
// handler would: "Cannot write to file <path>" (information, OK and Abort). The person
// decides whether the run goes on, IGNOREERRORS silences it, and nothing of the line is
// written. The report is made here rather than by throwing so that a path outside ASCII
// reaches the message unchanged.
template <std::u16string (*Prefix)(const LocalTime&)>
void stamp_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text file = run.resolve(split.first);
  const Text text = run.resolve(split.rest);
  std::u16string line = Prefix(run.platform.local_time());
  line += text.view();
  line += u"\r\n";
  if (run.platform.append_file(file.view(), run.platform.text_to_ansi(line))) return;
  run.report_file_fault(u"Cannot write to file", file.view());
}

}  // namespace

void register_clock_commands(CommandTable& table) {
  table.add(u"GDT"_code, clock_command<date_text>);
  table.add(u"GTM"_code, clock_command<time_text>);
  table.add(u"YEA"_code, clock_command<year_text>);
  table.add(u"MON"_code, clock_command<month_text>);
  table.add(u"DAY"_code, clock_command<day_text>);
  table.add(u"DOW"_code, clock_command<weekday_text>);
  table.add(u"HOU"_code, clock_command<hour_text>);
  table.add(u"MIN"_code, clock_command<minute_text>);
  table.add(u"SEC"_code, clock_command<second_text>);
  table.add(u"TIM"_code, stamp_command<time_stamp_prefix>);
  table.add(u"DAT"_code, stamp_command<date_stamp_prefix>);
}

}  // namespace dorovev
