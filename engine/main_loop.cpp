// The main loop and the control-flow lines.
//
// Control flow has no compiled form: every jump, call and block skip searches the line
// list at the moment it runs, so a line reached twice is analysed twice, and a label
// added by an include is found by the next jump. The loop pumps the message queue once
// per line and tests the stop request before and right after each fetch.
#include "engine/main_loop.h"

#include <initializer_list>
#include <string>

#include "engine/dispatch.h"
#include "engine/dispatcher_commands.h"
#include "engine/line_search.h"
#include "engine/line_shapes.h"
#include "engine/pumped_wait.h"
#include "engine/run_log.h"
#include "engine/run_context.h"
#include "engine/script_extensions.h"
#include "values/ascii.h"
#include "values/comma_split.h"
#include "values/conditions.h"
#include "values/number_format.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

using namespace codes;

// The line as the control-flow steps see it; a step may rewrite it for the steps after.
// The parameters view the line being run, or the rewritten text the line keeps.
struct LoopLine {
  LoopLine(CommandCode code, std::u16string_view parameters) : code(code), parameters(parameters) {}
  LoopLine(CommandCode code, Text rewritten) : code(code), parameters(rewritten.view()), kept(std::move(rewritten)) {}

  CommandCode code;
  std::u16string_view parameters;
  Text kept;
};

bool is_loop_code(CommandCode code) noexcept {
  static constexpr CommandCode kLoopCodes[] = {u"GOT"_code, u"UNT"_code, u"IF>"_code, u"IFW"_code, u"IFE"_code,
                                               u"IFC"_code, u"IFD"_code, u"ELS"_code, u"GOS"_code, u"SRT"_code,
                                               u"END"_code, u"DIA"_code, u"CAS"_code, u"EXP"_code, u"VBS"_code};
  // Every loop code starts with one of these letters; most lines are turned away here.
  constexpr auto bit = [](char16_t letter) { return std::uint32_t{1} << (letter - u'A'); };
  constexpr std::uint32_t kFirstLetters =
      bit(u'G') | bit(u'U') | bit(u'I') | bit(u'E') | bit(u'S') | bit(u'D') | bit(u'C') | bit(u'V');
  const char16_t first = code.first_letter();
  if (first < u'A' || first > u'Z' || (kFirstLetters & bit(first)) == 0) return false;
  for (CommandCode loop_code : kLoopCodes) {
    if (loop_code == code) return true;
  }
  return false;
}

std::u16string join(std::initializer_list<std::u16string_view> parts) {
  std::u16string text;
  for (std::u16string_view part : parts) text += part;
  return text;
}

bool ignore_spaces(const RunContext& run) { return run.variables.trimming(); }

// Ends the run after a failed forward search: the pointer stands past the last line, the
// last line the search read.
void end_run(RunContext& run) {
  run.next_line = run.lines.size();
  if (!run.lines.empty()) run.current_line = run.lines.back();
}

// Continues after a line that a search found; the log shows that line as the current one.
void continue_after(RunContext& run, std::size_t found) {
  run.current_line = run.lines[found];
  run.next_line = found + 1;
}

void jump_to_label(RunContext& run, std::u16string_view parameters) {
  const Text label = run.resolve(parameters);
  if (const auto found =
          run.searches.find_forward(run.lines, 0, LineShape::kLabel, label.view(), ignore_spaces(run))) {
    continue_after(run, *found);
    return;
  }
  run.report_runtime_error(join({translate(u"Error - Label"), u" ", label.view(), u" ", translate(u"Not Found!")}));
  end_run(run);
}

// One side of an Until comparison: a number as it stands, anything else as a quoted
// text, so that the evaluator compares numbers as numbers and texts as texts.
bool reads_as_number(RunContext& run, std::u16string_view value) {
  // Plain digits read as a number whatever the separator; other texts ask the reader.
  std::size_t digits = !value.empty() && value.front() == u'-' ? 1 : 0;
  const std::size_t start = digits;
  while (digits < value.size() && value[digits] >= u'0' && value[digits] <= u'9') ++digits;
  if (digits == value.size() && digits > start) return true;
  return read_locale_real(value, run.decimal_separator()).has_value();
}

void until(RunContext& run, std::u16string_view parameters) {
  static constexpr std::u16string_view kSeparators[] = {u",", u"=", u">", u"<", u"<>"};
  std::u16string_view name;
  std::u16string& condition = run.condition_text;
  condition = u"1=0";
  // One pass finds which separator characters occur at all.
  bool present[4] = {false, false, false, false};  // , = > <
  for (char16_t c : parameters) {
    present[0] |= c == u',';
    present[1] |= c == u'=';
    present[2] |= c == u'>';
    present[3] |= c == u'<';
  }
  for (std::u16string_view separator : kSeparators) {
    const std::size_t first = separator.front() == u',' ? 0 : separator.front() == u'=' ? 1
                              : separator.front() == u'>' ? 2 : 3;
    if (!present[first]) continue;
    const std::size_t at = parameters.find(separator);
    if (at == std::u16string_view::npos) continue;
    name = parameters.substr(0, at);
    Text left_holder;
    Text right_holder;
    const std::u16string_view left = ExpandToView(run.variables, name, left_holder);
    const std::u16string_view right = ExpandToView(run.variables, parameters.substr(at + separator.size()), right_holder);
    const std::u16string_view op = separator == u"," ? u"=" : separator;
    const bool numbers = reads_as_number(run, left) && reads_as_number(run, right);
    const std::u16string_view quote = numbers ? u"" : u"\"";
    condition.clear();
    for (std::u16string_view part : {quote, left, quote, op, quote, right, quote}) condition += part;
  }
  // A condition that gives no value counts as true and ends the loop.
  const std::optional<bool> value = evaluate_expression_truth(run.variables, condition);
  if (!value || *value) return;

  if (const auto found = find_repeat_backward(run.lines, run.next_line - 1, name, ignore_spaces(run))) {
    run.current_line = run.lines[*found];
    run.next_line = *found;
    return;
  }
  run.report_runtime_error(join({translate(u"Error - Repeat>"), name, u" ", translate(u"Not Found!")}));
  run.current_line = run.lines.front();
  run.next_line = 0;
}

// IfWindowOpen, IfFileExists, IfDirExists, IfFileChanged become an `If>` line with a
// constant condition and the test's labels.
void rewrite_one_line_test(RunContext& run, ScriptExtensions& extensions, LoopLine& line) {
  const std::u16string_view parameters = line.parameters;
  const CommaSplit subject = split_at_first_comma(parameters);
  CommaSplit labels = split_at_first_comma(subject.rest);
  bool passed = false;
  if (line.code == u"IFC"_code) {
    passed = extensions.file_changed(run, parameters);
    labels = split_at_first_comma(labels.rest);  // its labels are the third and fourth fields
  } else {
    const Text resolved = run.resolve(subject.first);
    if (line.code == u"IFW"_code) passed = extensions.window_exists(run, resolved.view());
    if (line.code == u"IFE"_code) passed = extensions.file_exists(resolved.view());
    if (line.code == u"IFD"_code) passed = run.platform.directory_exists(resolved.view());
  }
  const std::u16string_view true_label = labels.first;
  const std::u16string_view false_label = labels.rest;
  std::u16string rewritten;
  if (passed) {
    rewritten = true_label.empty() ? u"{true}" : join({u"{true},", true_label});
  } else if (!false_label.empty()) {
    rewritten = join({u"{true},", false_label});
  } else {
    rewritten = true_label.empty() ? u"{false}" : join({u"{false},", true_label});
  }
  line = LoopLine(u"IF>"_code, Text(rewritten));
}

// Whether a line met while skipping a false block opens a nested block of its own.
bool opens_nested_block(RunContext& run, std::u16string_view line) {
  const std::u16string_view trimmed = trim_left(line);
  const std::u16string_view parameters = parameter_text_of(trimmed);
  if (starts_with_upper(trimmed, u"IF>")) {
    return evaluate_condition(run.variables, parameters, false, run).true_label.empty();
  }
  for (std::u16string_view test : {u"IFW", u"IFE", u"IFD", u"IFC", u"IFF"}) {
    if (starts_with_upper(trimmed, test)) {
      return parameters.find(u',') == std::u16string_view::npos || parameters.ends_with(u",,");
    }
  }
  return false;
}

// The next line for a block search. A line that opens a block comment is fetched itself
// and the lines it hides are passed over. Nothing at the end of the list.
std::optional<std::u16string_view> fetch_for_search(RunContext& run) {
  if (run.next_line >= run.lines.size()) return std::nullopt;
  run.current_line = run.lines[run.next_line++];
  const std::u16string_view line = run.lines[run.next_line - 1].view();
  if (opens_block_comment(line)) run.next_line = skip_block_comment_forward(run.lines, run.next_line);
  return line;
}

// A false `If>` without labels: the run goes on after the matching Else or EndIf.
void skip_false_block(RunContext& run) {
  int depth = 0;
  while (const std::optional<std::u16string_view> fetched = fetch_for_search(run)) {
    const std::u16string_view line = *fetched;
    if (is_endif_line(line) || is_else_line(line)) {
      if (depth == 0) return;
      if (is_endif_line(line)) --depth;
    } else if (opens_nested_block(run, line)) {
      ++depth;
    }
  }
  run.report_runtime_error(translate(u"Error - missing ELSE/ENDIF"));
  end_run(run);
}

// A label that is not found turns the line into a subroutine call for the steps after it.
void if_line(RunContext& run, LoopLine& line) {
  const std::size_t remembered = run.next_line;
  const Condition condition = evaluate_condition(run.variables, line.parameters, true, run);
  const std::u16string_view label = condition.truth ? condition.true_label : condition.false_label;
  if (!label.empty()) {
    // This jump always compares exactly, whatever IGNORESPACES holds.
    if (const auto found = run.searches.find_forward(run.lines, 0, LineShape::kLabel, label, false)) {
      continue_after(run, *found);
      return;
    }
    run.current_line = Text(join({u"GOS>", label}));
    line = LoopLine(u"GOS"_code, Text(label));
    run.next_line = remembered;
    return;
  }
  if (!condition.truth && condition.true_label.empty()) skip_false_block(run);
}

// An Else reached by running through the true block: on after the matching EndIf.
void else_line(RunContext& run) {
  int depth = 0;
  while (const std::optional<std::u16string_view> fetched = fetch_for_search(run)) {
    const std::u16string_view line = *fetched;
    const std::u16string_view trimmed = trim_left(line);
    if (starts_with_upper(trimmed, u"IF") && parameter_text_of(trimmed).find(u',') == std::u16string_view::npos) {
      ++depth;
    } else if (is_endif_line(line)) {
      if (depth == 0) return;
      --depth;
    }
  }
  run.report_runtime_error(translate(u"Error - missing IF/ENDIF"));
  end_run(run);
}

void call_subroutine(RunContext& run, std::u16string_view parameters) {
  const CommaSplit first = split_at_first_comma(parameters);
  const bool has_arguments = first.first.size() != parameters.size();
  const Text name = run.resolve(first.first);
  if (has_arguments) {
    std::u16string_view rest = first.rest;
    for (int number = 1;; ++number) {
      const CommaSplit field = split_at_first_comma(rest);
      const std::string digits = std::to_string(number);
      AssignVariable(run.variables, join({name.view(), u"_var_", std::u16string(digits.begin(), digits.end())}),
                     run.resolve(field.first));
      if (field.first.size() == rest.size()) break;
      rest = field.rest;
    }
  }
  run.subroutines.push_back({name, run.next_line});
  const auto found = run.searches.find_forward(run.lines, 0, LineShape::kSubroutineStart, name.view(), ignore_spaces(run));
  if (found) {
    continue_after(run, *found);
    return;
  }
  run.report_runtime_error(
      join({translate(u"Error - Subroutine/Label"), u" ", parameters, u" ", translate(u"Not Found!")}));
  run.subroutines.pop_back();
  end_run(run);
}

void end_subroutine(RunContext& run, std::u16string_view parameters) {
  const std::u16string upper = to_upper_ascii(run.current_line.view());
  if (upper.find(u"ENDDIA") != std::u16string::npos || upper.find(u"ENDIF") != std::u16string::npos) return;
  if (run.subroutines.empty()) return;
  if (run.resolve(parameters) != run.subroutines.back().name) return;
  run.next_line = std::min(run.subroutines.back().return_line, run.lines.size());
  run.subroutines.pop_back();
  if (run.in_event_handler) {
    run.in_event_handler = false;
    run.event_handler_returned = true;
  }
}

// A subroutine reached by running into it is stepped over.
void step_over_subroutine(RunContext& run, std::u16string_view parameters) {
  const Text name = run.resolve(parameters);
  const auto found =
      run.searches.find_forward(run.lines, run.next_line, LineShape::kSubroutineEnd, name.view(), ignore_spaces(run));
  if (found) {
    continue_after(run, *found);
    return;
  }
  run.report_runtime_error(
      join({translate(u"Error - ENDSUB For Subroutine"), u" ", parameters, u" ", translate(u"Not Found!")}));
  end_run(run);
}

void control_flow(RunContext& run, ScriptExtensions& extensions, LoopLine line) {
  if (line.code == u"GOT"_code) jump_to_label(run, line.parameters);
  if (line.code == u"UNT"_code) until(run, line.parameters);
  if (line.code == u"DIA"_code) run.next_line = extensions.consume_dialog_block(run.lines, run.next_line);
  if (line.code == u"IFW"_code || line.code == u"IFE"_code || line.code == u"IFD"_code || line.code == u"IFC"_code) {
    rewrite_one_line_test(run, extensions, line);
  }
  if (line.code == u"IF>"_code) if_line(run, line);
  if (line.code == u"ELS"_code) else_line(run);
  if (line.code == u"GOS"_code) call_subroutine(run, line.parameters);
  if (line.code == u"END"_code) end_subroutine(run, line.parameters);
  if (line.code == u"SRT"_code) step_over_subroutine(run, line.parameters);
  if (line.code == u"VBS"_code) run.next_line = extensions.consume_vbscript_block(run.lines, run.next_line);
  if (line.code == u"EXP"_code) export_data_block(run, line.parameters);
}

// STEP_DELAY is read by its bare name: its value while implicit lookup is on, else a
// command-line argument of that name, else the name itself, which reads as 0.
std::int32_t read_step_delay(RunContext& run) {
  static constexpr std::u16string_view kName = u"STEP_DELAY";
  const tVarArray& variables = run.variables;
  if (variables.implicit_lookup()) {
    // Variables are only ever added, so a name missing at a count stays missing until it grows.
    if (run.step_delay_entry < 0 && run.step_delay_absent_at != variables.count()) {
      run.step_delay_entry = variables.find_entry(kName);
      run.step_delay_absent_at = variables.count();
    }
    if (run.step_delay_entry >= 0) {
      const std::u16string_view value = variables.entry(run.step_delay_entry).Value.view();
      return read_integer_or_zero(variables.trimming() ? trim(value) : value);
    }
  }
  for (const CommandLineVariable& argument : variables.command_line_variables()) {
    if (equals_ignoring_ascii_case(argument.name, kName)) return read_integer_or_zero(argument.value.view());
  }
  return 0;
}

void step_delay(RunContext& run) {
  if (read_step_delay(run) == 0) return;
  const std::int32_t delay = read_step_delay(run);
  if (delay > 0) pumped_wait(run, static_cast<std::uint64_t>(delay));
}

void finish_run(RunContext& run, ScriptExtensions& extensions) {
  extensions.release_run_resources();
  write_log_entry(run, u"Finished Macro : " + run.log_name);
  run.lines.clear();
  run.macro_result = run.resolve(u"%MACRO_RESULT%");
}

}  // namespace

void run_main_loop(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions) {
  while (run.next_line < run.lines.size() && !run.process.stop_requested) {
    run.platform.yield_between_lines();
    run.current_line = run.lines[run.next_line++];
    run.variables.set_line_number(static_cast<std::int32_t>(run.next_line));
    if (run.process.stop_requested) continue;

    if (run.logging) log_before_line(run);
    step_delay(run);
    LineCursor cursor{run.lines, run.next_line};
    const Text current = run.current_line;
    const AnalysedLine analysed = analyse_line(current, cursor, run.variables, run.platform, &extensions, &run.analyses);
    run.next_line = cursor.next;

    if (analysed.code == u"EXI"_code) {
      run.process.exit_code = read_integer_or_zero(run.resolve(analysed.parameters).view());
      break;
    }
    if (is_loop_code(analysed.code)) {
      control_flow(run, extensions, LoopLine(analysed.code, analysed.parameters));
    } else {
      dispatch(run, commands, analysed.code, analysed.parameters);
    }
    if (run.logging) log_after_line(run);
  }
  finish_run(run, extensions);
}

}  // namespace dorovev
