// The run's log file: start and finish lines, an entry before and after every line, and
// variable dumps.
#pragma once

#include <string_view>

namespace dorovev {

class RunContext;

// Appends one line, "date time - text", when the run logs. A file that cannot be opened
// loses the entry without a word.
void write_log_entry(RunContext& run, std::u16string_view text);

// The entries around a script line, unless _WRITE_LOG_FILE resolves to "0"; after the
// line also the variable dump when _DUMP_VARS resolves to "1".
void log_before_line(RunContext& run);
void log_after_line(RunContext& run);

}  // namespace dorovev
