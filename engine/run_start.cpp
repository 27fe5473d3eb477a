// Preparing a run.
#include "engine/run_start.h"

#include <string>
#include <utility>

#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "engine/script_extensions.h"
#include "engine/run_log.h"
#include "values/ascii.h"

namespace dorovev {
namespace {

using namespace codes;

// System variables are made with `Let>` like any other, so a script may overwrite them.
void let(RunContext& run, const CommandTable& commands, std::u16string_view assignment) {
  dispatch(run, commands, u"LET"_code, assignment);
}

std::u16string directory_of(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  return std::u16string(separator == std::u16string_view::npos ? std::u16string_view() : path.substr(0, separator));
}

std::u16string decimal(std::int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

// `x=5 /name=Joe`: each piece before a " /" is one assignment.
void assign_macro_parameters(RunContext& run, const CommandTable& commands, std::u16string parameters) {
  if (parameters.empty() || parameters == u"0") return;
  parameters += u" /";
  while (parameters.size() > 2) {
    const std::size_t separator = parameters.find(u" /");
    std::u16string assignment(trim(std::u16string_view(parameters).substr(0, separator)));
    let(run, commands, assignment);
    parameters.erase(0, separator + 2);
  }
}

}  // namespace

void prepare_run(RunContext& run, const CommandTable& commands, ScriptExtensions& extensions,
                 const RunStart& start) {
  extensions.load_text_capture();
  extensions.create_script_control();
  run.variables.create_fixed_slots();
  extensions.put_screen_saver_away();
  run.platform.set_run_indicator(true);
  run.process.stop_requested = false;
  run.next_line = 0;

  const SystemInfo system = run.platform.system_info();
  run.process.random_seed = run.platform.random_seed_source();
  const std::pair<std::u16string_view, std::u16string> assignments[] = {
      {u"OS_VER", system.os_text},
      {u"WIN_DIR", system.windows_dir},
      {u"SYS_DIR", system.system_dir},
      {u"TEMP_DIR", system.temp_dir},
      {u"USERDOCUMENTS_DIR", system.documents_dir},
      {u"DESKTOP_DIR", system.desktop_dir},
      {u"LF", u"\n"},
      {u"CR", u"\r"},
      {u"CRLF", u"\r\n"},
      {u"TAB", u"\t"},
      {u"SPACE", u" "},
      {u"USER_NAME", system.user_name},
      {u"COMPUTER_NAME", system.computer_name},
      {u"MSG_STAYONTOP", u"0"},
      {u"SK_DELAY", u"0"},
      {u"CF_OVERWRITE", u"0"},
      {u"WF_TYPE", u"1"},
      {u"GAW_TYPE", u"0"},
      {u"MSG_HEIGHT", u"200"},
      {u"MSG_WIDTH", u"273"},
      {u"MSG_XPOS", u"CENTER"},
      {u"MSG_YPOS", u"CENTER"},
      {u"RND_SEED", decimal(static_cast<std::int32_t>(run.process.random_seed))},
      {u"DOROVEV_VER", u"11.0.32"},
      {u"MACRO_PARMS", start.macro_parameters},
      {u"COMMAND_LINE", system.command_line},
      {u"SCRIPT_FILE", system.executable_path},
      {u"SCRIPT_DIR", directory_of(system.executable_path)},
  };
  for (const auto& [name, value] : assignments) let(run, commands, std::u16string(name) + u"=" + value);
  assign_macro_parameters(run, commands, start.macro_parameters);

  const Text log_file = run.resolve(u"%LOGFILE%");
  if (log_file != std::u16string_view(u"%LOGFILE%")) {
    run.logging = true;
    run.log_file = log_file.str();
  } else if (!start.inherited_log_file.empty()) {
    run.logging = true;
    run.log_file = start.inherited_log_file;
  }
  extensions.read_imports_folder();
  run.log_name = start.from_container ? system.executable_path : start.script_name;
  write_log_entry(run, u"Started Macro : " + run.log_name);
}

}  // namespace dorovev
