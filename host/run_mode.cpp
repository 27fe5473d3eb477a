// Running a script file as the top-level run.
#include "host/run_mode.h"

#include <windows.h>

#include <vector>

#include "commands/files/file_commands.h"
#include "commands/input/input_commands.h"
#include "commands/system/system_commands.h"
#include "commands/windows/window_commands.h"
#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/process_state.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "host/host_commands.h"
#include "platform/win32/win32_platform.h"

namespace dorovev {
namespace {

// The host's part of a run's preparation and end.
class HostExtensions final : public ScriptExtensions {
 public:
  explicit HostExtensions(ProcessState& process) : process_(process) {}

  // A run that finds no text-capture library loaded loads ICall.dll by name for its own
  // duration; a nested run finds it loaded.
  void load_text_capture() override {
    HMODULE loaded = nullptr;
    if (!process_.text_capture_library) {
      loaded = ::LoadLibraryW(L"ICall.dll");
      process_.text_capture_library = loaded;
    }
    loaded_by_run_.push_back(loaded);
  }

  bool window_exists(RunContext& run, std::u16string_view subject) override { return any_window_matches(run, subject); }
  bool file_exists(std::u16string_view subject) override { return any_file_matches(subject); }
  bool file_changed(RunContext& run, std::u16string_view parameters) override {
    return file_changed_test(run, parameters);
  }

  void release_run_resources() override {
    release_modifier_keys();
    if (loaded_by_run_.empty()) return;
    const HMODULE loaded = loaded_by_run_.back();
    loaded_by_run_.pop_back();
    if (loaded) {
      ::FreeLibrary(loaded);
      process_.text_capture_library = nullptr;
    }
  }

 private:
  ProcessState& process_;
  std::vector<HMODULE> loaded_by_run_;  // per run, innermost last: what its preparation loaded
};

}  // namespace

int run_top_level(win32::Win32Platform& platform, ProcessState& process, LineList lines, const RunStart& start) {
  CommandTable commands;
  register_core_commands(commands);
  host::register_host_commands(commands);
  register_file_commands(commands);
  register_ini_commands(commands);
  register_registry_commands(commands);
  register_program_commands(commands);
  register_key_commands(commands);
  register_mouse_commands(commands);
  register_lock_key_commands(commands);
  register_window_commands(commands);
  HostExtensions extensions(process);
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
