// Writing the log file. Every entry opens and closes the file, so the log can be read or
// deleted while the macro runs.
#include "engine/run_log.h"

#include <string>

#include "engine/run_context.h"
#include "values/ascii.h"
#include "values/clock_format.h"
#include "values/short_date.h"

namespace dorovev {
namespace {

bool per_line_entries(RunContext& run) {
  return run.logging && run.resolve(u"%_WRITE_LOG_FILE%") != std::u16string_view(u"0");
}

// The current line as the log shows it: resolved like a parameter, left-trimmed.
std::u16string resolved_line(RunContext& run) {
  return std::u16string(trim_left(run.resolve(run.current_line.view()).view()));
}

void dump_variables(RunContext& run) {
  write_log_entry(run, u"*** START VARIABLES ***");
  for (std::int32_t index = run.variables.count() - 1; index >= 0; --index) {
    const TVariableTable& entry = run.variables.entry(index);
    write_log_entry(run, entry.Name.str() + u"=" + entry.Value.str());
  }
  write_log_entry(run, u"*** END VARIABLES ***");
}

}  // namespace

void write_log_entry(RunContext& run, std::u16string_view text) {
  if (!run.logging) return;
  const LocalTime now = run.platform.local_time();
  std::u16string line = format_short_date(calendar_date(now), run.platform.short_date_format());
  line += u' ';
  line += time_stamp_prefix(now);  // "hh:nn:ss:zzz - "
  line += text;
  line += u"\r\n";
  run.platform.append_file(run.log_file, run.platform.text_to_ansi(line));
}

void log_before_line(RunContext& run) {
  if (per_line_entries(run)) write_log_entry(run, u"START: " + resolved_line(run));
}

void log_after_line(RunContext& run) {
  if (per_line_entries(run)) write_log_entry(run, u"  END: " + resolved_line(run));
  if (run.logging && run.setting_is_on(u"_DUMP_VARS")) dump_variables(run);
}

}  // namespace dorovev
