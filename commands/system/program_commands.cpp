// The program, environment, clipboard, sound and shutdown commands: EXE, GEV, SEV and PLA
// here, RUN, the clipboard and SDW in files of their own.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <string>

#include "commands/system/program_handlers.h"
#include "commands/system/system_commands.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "values/comma_split.h"

namespace dorovev {
namespace {

using namespace codes;
using win32::wide;

// `EXE>file,parameters`: the whole parameter is resolved first and cut at its last comma,
// so a file whose path holds commas takes parameters after them. The shell opens the file
// with its default verb and does not wait; nothing is reported.
void execute_file_command(RunContext& run, std::u16string_view parameters) {
  const Text resolved = run.resolve(parameters);
  const std::u16string_view text = resolved.view();
  const std::size_t comma = text.rfind(u',');
  const std::wstring file = wide(comma == std::u16string_view::npos ? text : text.substr(0, comma));
  const std::wstring arguments = comma == std::u16string_view::npos ? std::wstring() : wide(text.substr(comma + 1));
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_FLAG_NO_UI;  // a file that cannot be opened fails silently
  execute.lpFile = file.c_str();
  execute.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
  execute.nShow = SW_SHOWNORMAL;
  ::ShellExecuteExW(&execute);
}

// The value of an environment variable of this process, read whole whatever its length;
// empty when it is not defined.
std::u16string environment_value(const std::wstring& name) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) return win32::from_wide(value.data(), length);
    value.resize(length);  // the room it needs, its null included; it may have grown meanwhile
  }
}

// `GetEnvVar>name,result`: the result name is the rest after the first comma, as written.
void get_environment_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text name = run.resolve(split.first);
  AssignVariable(run.variables, split.rest, environment_value(wide(name.view())));
}

// `SetEnvVar>name,value`: programs started afterwards inherit it. A name the system
// refuses (empty, or holding "=") sets nothing.
void set_environment_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text name = run.resolve(split.first);
  const Text value = run.resolve(split.rest);
  ::SetEnvironmentVariableW(wide(name.view()).c_str(), wide(value.view()).c_str());
}

// Plays a wave file and returns when it has ended. A file that is missing or no wave
// plays the system's default sound, or nothing where there is none.
void play_sound_command(RunContext& run, std::u16string_view parameters) {
  const Text file = run.resolve(parameters);
  ::PlaySoundW(wide(file.view()).c_str(), nullptr, SND_FILENAME | SND_SYNC);
}

}  // namespace

void register_program_commands(CommandTable& table) {
  table.add(u"RUN"_code, run_program_command);
  table.add(u"EXE"_code, execute_file_command);
  table.add(u"GEV"_code, get_environment_command);
  table.add(u"SEV"_code, set_environment_command);
  table.add(u"GCB"_code, get_clipboard_command);
  table.add(u"PUT"_code, put_clipboard_command);
  table.add(u"WCB"_code, wait_clipboard_command);
  table.add(u"PLA"_code, play_sound_command);
  table.add(u"SDW"_code, shutdown_command);
}

}  // namespace dorovev
