// `Macro>`: the other script gets a run of its own, with its own lines, variables and
// subroutines; only the process state (stop request, exit code, random generator) is
// shared. Parameters go in as macro parameters, the result comes back in MACRO_RESULT.
#include "engine/macro_command.h"

#include <string>

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "values/ascii.h"

namespace dorovev {
namespace {

using namespace codes;

std::u16string program_directory(Platform& platform) {
  const std::u16string path = platform.system_info().executable_path;
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

void macro_command(RunContext& run, std::u16string_view parameters) {
  const std::size_t slash = parameters.find(u'/');
  const bool has_parameters = slash != std::u16string_view::npos;
  std::u16string file = run.resolve(has_parameters ? trim(parameters.substr(0, slash)) : parameters).str();
  const std::u16string macro_parameters = has_parameters ? run.resolve(parameters.substr(slash + 1)).str() : u"0";
  if (file.find(u".scp") == std::u16string::npos) file = program_directory(run.platform) + u"\\" + file + u".scp";

  if (!run.platform.file_exists(file)) {
    run.report_runtime_error(std::u16string(translate(u"Macro")) + u", " + file + u", " +
                             std::u16string(translate(u"specified in Macro> command Does Not Exist")));
    return;
  }
  if (run.process.macro_nesting >= kMaxMacroNesting) {
    run.report_runtime_error(std::u16string(translate(u"Macro")) + u", " + file + u", " +
                             std::u16string(translate(u"not run: macros nested too deeply")));
    return;
  }
  std::optional<LineList> lines = lines_from_script_file(file, run.platform);
  if (!lines) {
    run.platform.show_message_dialog(std::u16string(translate(u"Error Attempting to Read")) + u" : " + file,
                                     MessageKind::kWarning, MessageButtons::kOk);
    AssignVariable(run.variables, u"MACRO_RESULT", u"");
    return;
  }

  RunContext nested(run.platform, run.process);
  nested.lines = std::move(*lines);
  RunStart start;
  start.macro_parameters = macro_parameters;
  start.inherited_log_file = run.logging ? run.log_file : std::u16string();
  start.script_name = file;
  ++run.process.macro_nesting;
  run_loaded_script(nested, *run.commands, *run.extensions, start);
  --run.process.macro_nesting;
  AssignVariable(run.variables, u"MACRO_RESULT", nested.macro_result);
}

}  // namespace

void register_macro_command(CommandTable& table) { table.add(u"MAC"_code, macro_command); }

}  // namespace dorovev
