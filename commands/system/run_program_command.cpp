// RUN: starting another program, waiting for it as the run's settings ask, and reporting a
// start that failed.
//
// The settings are read on every start: RP_WINDOWMODE (the show state), RP_WAIT (not at
// all, until the program ends, or until it waits for input) and RP_ADMIN (start it through
// the shell with elevation). A plain start leaves the program's exit code in RP_RESULT:
// the still-active code 259 when it was not waited for and still runs, -1 when it could
// not be started. A start that failed is reported and stops the macro unless
// RP_DISPLAYERROR is "0", which is how a script goes on after it.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "commands/system/elevated_command_line.h"
#include "commands/system/program_handlers.h"
#include "engine/run_context.h"
#include "platform/win32/process_start.h"
#include "platform/win32/wide.h"
#include "values/number_readers.h"

namespace dorovev {
namespace {

using win32::wide;

constexpr int kNotStarted = -1;

enum class WaitMode { kNone, kUntilEnded, kUntilInputIdle };

// RP_WINDOWMODE as a show state: 0 hidden, 2 minimized, 3 maximized, anything else (and
// a setting that is no number) normal.
int show_state(RunContext& run) {
  switch (read_strict_integer(run.resolve(u"%RP_WINDOWMODE%").view()).value_or(1)) {
    case 0: return SW_HIDE;
    case 2: return SW_SHOWMINIMIZED;
    case 3: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

WaitMode wait_mode(RunContext& run) {
  const Text wait = run.resolve(u"%RP_WAIT%");
  if (wait == std::u16string_view(u"1")) return WaitMode::kUntilEnded;
  if (wait == std::u16string_view(u"2")) return WaitMode::kUntilInputIdle;
  return WaitMode::kNone;
}

// Waits until `process` ends. Paint and timer messages of this thread keep being handled,
// so the program's own windows repaint and its idle timer keeps counting; nothing else is
// taken from the queue, and a stop request does not end the wait.
void wait_until_ended(HANDLE process) {
  for (;;) {
    const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_PAINT | QS_TIMER, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) return;  // ended, or the handle cannot be waited on
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageW(&message);
    // A window that never validates itself keeps asking to be painted: a bounded number
    // per pass, so that the process is looked at again.
    for (int painted = 0; painted < 64 && ::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++painted) {
      ::DispatchMessageW(&message);
    }
  }
}

// Creates the process and waits as asked. Gives its exit code, or kNotStarted.
int run_process(std::u16string_view command_line, int show, WaitMode wait) {
  const win32::UniqueHandle process = win32::start_process(command_line, show);
  if (!process) return kNotStarted;
  if (wait == WaitMode::kUntilInputIdle) ::WaitForInputIdle(process.get(), INFINITE);
  if (wait == WaitMode::kUntilEnded) wait_until_ended(process.get());
  DWORD code = 0;
  if (!::GetExitCodeProcess(process.get(), &code)) return kNotStarted;
  return static_cast<int>(code);
}

// The elevated start goes through the shell, which asks for the rights. It sets no
// result and reports nothing. Waited for, the whole queue keeps running and a stop
// request ends the wait (the program goes on).
void start_elevated(RunContext& run, std::u16string_view command_line, int show, WaitMode wait) {
  const ProgramAndParameters split = split_elevated_command_line(
      command_line, [&](std::u16string_view path) { return run.platform.file_exists(path); });
  const std::wstring program = wide(split.program);
  const std::wstring parameters = wide(split.parameters);
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof(execute);
  // No error box of the shell's own: a failed elevated start is silent.
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  execute.nShow = show;
  if (!::ShellExecuteExW(&execute)) return;
  const win32::UniqueHandle process(execute.hProcess);  // none when the shell handed the file to a running program
  if (wait != WaitMode::kUntilEnded || !process) return;
  while (::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
    run.platform.process_messages();
    if (run.process.stop_requested) return;
    run.platform.sleep(1);
  }
}

// A start failed only when no process was made. The exit code of a program that already
// ended is its own business, whether or not the run waited for it: a short program that
// ended well before it was looked at must not stop the macro.
void report_failed_start(RunContext& run, std::u16string_view command_line, int result) {
  if (run.resolve(u"%RP_DISPLAYERROR%") == std::u16string_view(u"0")) return;
  std::u16string message(translate(u"Error Executing"));
  message += u' ';
  message += command_line;
  message += u" (";
  const std::string number = std::to_string(result);
  message.append(number.begin(), number.end());
  message += u')';
  run.report_runtime_error(message, MessageKind::kWarning);
  // Whichever button closed the report, and when IGNOREERRORS silenced it.
  run.request_stop();
}

}  // namespace

void run_program_command(RunContext& run, std::u16string_view parameters) {
  const Text command_line = run.resolve(parameters);
  const int show = show_state(run);
  const WaitMode wait = wait_mode(run);
  if (run.setting_is_on(u"RP_ADMIN")) {
    start_elevated(run, command_line.view(), show, wait);
    return;
  }
  const int result = run_process(command_line.view(), show, wait);
  if (result == kNotStarted) report_failed_start(run, command_line.view(), result);
  const std::string number = std::to_string(result);
  AssignVariable(run.variables, u"RP_RESULT", std::u16string(number.begin(), number.end()));
}

}  // namespace dorovev
