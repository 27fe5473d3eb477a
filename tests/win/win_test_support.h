// What the Windows tests share: starting a program, finding its windows, making one the
// foreground window and typing into it with real keystrokes.
//
// Every wait is bounded and polls: tests run on shared, noisy machines, so the bounds are
// generous and say only "it did not happen at all", never how fast it happened.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/unique_handle.h"

namespace dorovev::wintest {

using namespace std::chrono_literals;

// Long enough for a program to start, or for its window to take input, on a loaded machine.
inline constexpr std::chrono::milliseconds kPatience = 30s;

// The system's message for a Win32 error code, in UTF-8 for test output.
std::string error_text(DWORD code);

// UTF-8 for test output.
std::string narrow(std::wstring_view text);

// A program started by a test. It is terminated when its owner goes and it still runs, so a
// failing test leaves nothing behind on the desktop that the next test uses.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess();

  // Starts command_line as CreateProcessW does (a bare program name is searched for in the
  // application directory, the system directories and PATH), after terminating the program
  // this owner had started before, if any. False when it could not start; error() says why.
  bool start(std::wstring command_line);

  // Terminates the program and waits, up to `patience`, until it has gone. True when it has.
  bool terminate(std::chrono::milliseconds patience = kPatience);

  bool running() const;
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }
  const std::string& error() const { return error_; }

 private:
  win32::UniqueHandle process_;
  win32::UniqueHandle thread_;
  DWORD id_ = 0;
  std::string error_;
};

// Polls `condition` until it holds or `patience` has passed, processing this thread's window
// messages in between. Returns whether it held. The condition is always tried at least once
// and once more at the end.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience,
                std::chrono::milliseconds poll_interval = 20ms);

// A visible top-level window of process `process_id` titled exactly `title`, or nullptr.
HWND find_top_window(DWORD process_id, const std::wstring& title);

// find_top_window, polled until the window appears or `patience` has passed.
HWND wait_for_top_window(DWORD process_id, const std::wstring& title,
                         std::chrono::milliseconds patience = kPatience);

// The first descendant window of `parent` whose class is `class_name`, or nullptr.
HWND find_child_window(HWND parent, const std::wstring& class_name);

// The text of a window of any process, read with WM_GETTEXT.
std::wstring window_text(HWND window);

// Makes `window` the foreground window, so that keystrokes go to it. A plain
// SetForegroundWindow may be refused to a process that is not in the foreground itself; then
// the calling thread joins the input of the current foreground thread for the change. True once
// GetForegroundWindow() reports `window` (polled up to `patience`).
bool force_foreground(HWND window, std::chrono::milliseconds patience = kPatience);

// Types `text` with keybd_event as the keyboard would: every character through the virtual key
// that the current keyboard layout gives it, with Shift, Ctrl and Alt held as that layout
// requires. False, before anything is typed, when a character has no key in the layout.
bool type_keys(std::wstring_view text);

// Types `text` with SendInput as Unicode packets (KEYEVENTF_UNICODE), which reach the target
// as the characters themselves whatever the keyboard layout. False when SendInput did not
// accept every event.
bool type_unicode(std::wstring_view text);

// A path as Windows programs take it: a Unix path (as CTest passes them under Wine) gets
// the drive Z: and backslashes.
std::wstring windows_path(std::wstring path);
// A path in the temporary folder.
std::wstring temp_file(const std::wstring& name);
// Writes or reads a whole file; reading a file that cannot be opened gives nothing.
void write_file(const std::wstring& path, const std::string& bytes);
std::string read_file(const std::wstring& path);

}  // namespace dorovev::wintest
