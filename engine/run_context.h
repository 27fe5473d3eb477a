// The run context: the state of one run of a script, and the services its commands use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_analysis.h"
#include "engine/line_list.h"
#include "engine/line_search.h"
#include "engine/platform.h"
#include "engine/process_state.h"
#include "values/command_services.h"
#include "values/expand_text.h"
#include "values/expression.h"
#include "values/variable_table.h"

namespace dorovev {

class CommandTable;
class ScriptExtensions;

// Everything that belongs to one run. A nested run has a context of its own and shares
// only the process state with its caller.
class RunContext final : public CommandServices {
 public:
  // Braced expressions go to `evaluator`, or, without one, to the run's own evaluator.
  RunContext(Platform& platform, ProcessState& process, ExpressionEvaluator* evaluator = nullptr);
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  Platform& platform;
  ProcessState& process;
  // The commands and extensions the run was started with; a nested run uses them too.
  const CommandTable* commands = nullptr;
  ScriptExtensions* extensions = nullptr;
  tVarArray variables;
  LineList lines;
  std::size_t next_line = 0;  // index of the line to fetch next
  Text current_line;          // the line being executed, possibly rewritten by the loop
  LineSearchCache searches;   // where the labels and subroutines of `lines` stand
  LineAnalysisCache analyses; // the split of the plain lines already run
  // Entries of variables read before every line, once they exist (entries never move).
  std::int32_t step_delay_entry = -1;
  std::int32_t step_delay_absent_at = -1;  // the variable count when it was last looked for
  std::int32_t cwd_entry = -1;
  std::u16string condition_text;  // room for the condition an Until> line builds

  // Active subroutine calls, innermost last: the name called and the line to return to.
  struct SubroutineCall {
    Text name;
    std::size_t return_line;
  };
  std::vector<SubroutineCall> subroutines;
  bool in_event_handler = false;
  bool event_handler_returned = false;

  // What `%MACRO_RESULT%` resolved to when the run finished.
  Text macro_result;

  // Logging is on when the run names a log file (LOGFILE) or inherits its caller's.
  bool logging = false;
  std::u16string log_file;
  // How the start and finish entries name the run: the script file, or the program for
  // a compiled macro.
  std::u16string log_name;

  // Resolves a text with repeat on, as every command reads its parameters.
  Text resolve(std::u16string_view text) const { return ExpandText(variables, text); }

  // CommandServices.
  void report_runtime_error(std::u16string_view message, MessageKind kind = MessageKind::kInformation,
                            MessageButtons buttons = MessageButtons::kOkAbort) override;
  void show_message(std::u16string_view text, MessageKind kind) override;
  void request_stop() override { process.stop_requested = true; }
  char16_t decimal_separator() override { return platform.decimal_separator(); }
  std::u16string short_date_format() override { return platform.short_date_format(); }
  std::uint32_t& random_seed() override { return process.random_seed; }
  void set_application_title(std::u16string_view title) override { platform.set_application_title(title); }

  // The stop operation: the run ends before its next line, and waits end at once.
  void stop_macro();

  // Whether the settings variable `name` holds exactly "1". One that was never set
  // expands to its own reference text and so is off.
  bool setting_is_on(std::u16string_view name) const;

  // The runtime-error report of a file that could not be read or written: the message,
  // one space and the path ("Cannot write to file C:\x.txt").
  void report_file_fault(std::u16string_view message, std::u16string_view path);

 private:
  Expressions expressions_{*this};
};

// Message texts shown to the person are looked up in the message catalogue first; the
// English text is the key and stands when there is no translation.
std::u16string_view translate(std::u16string_view text) noexcept;

}  // namespace dorovev
