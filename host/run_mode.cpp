// Running a script file as the top-level run.
#include "host/run_mode.h"

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "host/host_commands.h"
#include "platform/win32/win32_platform.h"

namespace dorovev {

int run_top_level(win32::Win32Platform& platform, ProcessState& process, LineList lines, const RunStart& start) {
  CommandTable commands;
  register_core_commands(commands);
  host::register_host_commands(commands);
  ScriptExtensions extensions;
  RunContext run(platform, process);
  run.lines = std::move(lines);
  run_loaded_script(run, commands, extensions, start);
  return process.exit_code;
}

int run_script_file(win32::Win32Platform& platform, ProcessState& process, const std::u16string& path) {
  std::optional<LineList> lines = lines_from_script_file(path, platform);
  if (!lines) {
    platform.show_message_dialog(std::u16string(translate(u"Error Attempting to Read")) + u" : " + path,
                                 MessageKind::kWarning, MessageButtons::kOk);
    return 0;
  }
  RunStart start;
  start.script_name = path;
  return run_top_level(platform, process, std::move(*lines), start);
}

}  // namespace dorovev
