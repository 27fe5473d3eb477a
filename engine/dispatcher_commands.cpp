// Wait, change and create directory, variable test, data block export, colour numbers.
#include "engine/dispatcher_commands.h"

#include <cmath>
#include <string>

#include "engine/dispatch.h"
#include "engine/pumped_wait.h"
#include "engine/run_context.h"
#include "values/ascii.h"
#include "values/comma_split.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

using namespace codes;

// `Wait>seconds`: a decimal number of seconds with `.` as separator. A text that is no
// number, or a negative number, waits not at all.
void wait_command(RunContext& run, std::u16string_view parameters) {
  const std::optional<double> seconds = read_strict_real(run.resolve(parameters).view());
  if (!seconds || !(*seconds > 0)) return;
  const double milliseconds = std::round(*seconds * 1000);
  constexpr double kLongest = 1.8e19;  // beyond any wait a person would sit through
  pumped_wait(run, milliseconds >= kLongest ? static_cast<std::uint64_t>(kLongest)
                                            : static_cast<std::uint64_t>(milliseconds));
}

// `WaitReady>`: "1" waits until nothing was typed, clicked or painted for 10 seconds (or
// a stop is requested), with the run indicator off meanwhile; anything else waits until
// nothing was typed or clicked for 2 seconds. Nothing to wait for while one of our own
// windows is in the foreground.
void wait_ready_command(RunContext& run, std::u16string_view parameters) {
  const bool painting_too = run.resolve(parameters) == std::u16string_view(u"1");
  Platform& platform = run.platform;
  if (platform.foreground_is_own()) return;
  platform.attach_to_foreground_input(true);
  const bool indicator_was_on = painting_too && platform.set_run_indicator(false);
  const auto ready = [&] {
    const Platform::IdleCounters counters = platform.idle_counters();
    return painting_too ? counters.paint_quiet >= 10 || run.process.stop_requested : counters.input_quiet >= 2;
  };
  while (!ready()) {
    platform.process_messages();
    platform.sleep(10);
  }
  if (indicator_was_on) platform.set_run_indicator(true);
  platform.attach_to_foreground_input(false);
}

void change_directory_command(RunContext& run, std::u16string_view parameters) {
  const Text directory = run.resolve(parameters);
  if (run.platform.directory_exists(directory.view()) && run.platform.set_current_directory(directory.view())) return;
  std::u16string message(translate(u"Directory"));
  message += u' ';
  message += directory.view();
  message += u' ';
  message += translate(u"Does Not Exist.");
  run.report_runtime_error(message, MessageKind::kWarning, MessageButtons::kOkAbort);
}

void create_directory_command(RunContext& run, std::u16string_view parameters) {
  run.platform.create_directory(run.resolve(parameters).view());
}

// `ASS>name,result`: does a variable, or a `/name=value` argument, of that name exist?
void variable_exists_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  bool exists = run.variables.find_entry(split.first) >= 0;
  for (const CommandLineVariable& argument : run.variables.command_line_variables()) {
    exists = exists || equals_ignoring_ascii_case(argument.name, split.first);
  }
  AssignVariable(run.variables, split.rest, exists ? u"TRUE" : u"FALSE");
}

}  // namespace

void export_data_block(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const std::optional<std::string> data = find_data_block(run.lines, run.resolve(split.first).view());
  if (!data || data->empty()) return;
  run.platform.write_file(run.resolve(split.rest).view(), *data);
}

namespace {

// `RGB>red,green,blue,result`: the colour number, red in the lowest byte.
void colour_number_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit red = split_at_first_comma(parameters);
  const CommaSplit green = split_at_first_comma(red.rest);
  const CommaSplit blue = split_at_first_comma(green.rest);
  const auto channel = [&run](std::u16string_view text) {
    return static_cast<std::uint32_t>(read_integer_or_zero(run.resolve(text).view())) & 0xFF;
  };
  const std::uint32_t colour = channel(red.first) + 256 * channel(green.first) + 65536 * channel(blue.first);
  const std::string digits = std::to_string(colour);
  AssignVariable(run.variables, blue.rest, std::u16string(digits.begin(), digits.end()));
}

}  // namespace

void register_dispatcher_commands(CommandTable& table) {
  table.add(u"WAI"_code, wait_command);
  table.add(u"WRD"_code, wait_ready_command);
  table.add(u"CHA"_code, change_directory_command);
  table.add(u"CRE"_code, create_directory_command);
  table.add(u"ASS"_code, variable_exists_command);
  table.add(u"RGB"_code, colour_number_command);
}

}  // namespace dorovev
