// The platform seam: everything the portable interpreter needs from the operating system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "values/clock_format.h"
#include "values/command_services.h"
#include "values/variable_table.h"

namespace dorovev {

// The host passes one Platform to the interpreter. The Windows build implements it with
// the real API; native tests use a scripted fake. The interface grows with the
// interpreter, one narrow question at a time.
//
// LocalTime, the local date and time of day, lives in values/clock_format.h beside the
// formatting of its texts.

// What a run publishes about the system in its first variables.
struct SystemInfo {
  std::u16string os_text;         // "NT.6.1.7601": platform, major, minor, build
  std::u16string windows_dir;     // no trailing backslash
  std::u16string system_dir;      // no trailing backslash
  std::u16string temp_dir;        // with its trailing backslash; empty when there is none
  std::u16string documents_dir;   // empty when the shell gives no path
  std::u16string desktop_dir;     // empty when the shell gives no path
  std::u16string user_name;
  std::u16string computer_name;   // "ERR" when the system cannot say
  std::u16string command_line;    // the whole command line of the process
  std::u16string executable_path; // the running program
};

class Platform : public VariableHost {
 public:
  // Text in the system's ANSI code page, to UTF-16.
  virtual std::u16string ansi_to_text(std::string_view bytes) = 0;
  // UTF-16 to the system's ANSI code page; characters it lacks become its default character.
  virtual std::string text_to_ansi(std::u16string_view text) = 0;

  virtual bool file_exists(std::u16string_view path) = 0;
  // The whole file as bytes, or nothing when it cannot be read.
  virtual std::optional<std::string> read_file(std::u16string_view path) = 0;
  // Replaces the file with the bytes; false when it cannot be written.
  virtual bool write_file(std::u16string_view path, std::string_view bytes) = 0;
  // Adds the bytes to the end of the file, creating it when it does not exist; the file
  // is closed again at once. False when it cannot be opened.
  virtual bool append_file(std::u16string_view path, std::string_view bytes) = 0;

  virtual bool directory_exists(std::u16string_view path) = 0;
  // Creates one directory level; false when it could not.
  virtual bool create_directory(std::u16string_view path) = 0;
  virtual std::u16string current_directory() = 0;
  virtual bool set_current_directory(std::u16string_view path) = 0;

  // A modal message dialog shown in the foreground, returning the button that closed it.
  virtual MessageButton show_message_dialog(std::u16string_view text, MessageKind kind, MessageButtons buttons) = 0;
  // Processes the window messages that are waiting, once.
  virtual void process_messages() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
  // Before each line: yields the processor and processes waiting messages. A platform
  // where looking at an empty queue is costly may look less often, but at least once
  // per millisecond of running.
  virtual void yield_between_lines() {
    sleep(0);
    process_messages();
  }

  // The user's decimal separator and short date format (for example "M/d/yyyy").
  virtual char16_t decimal_separator() = 0;
  virtual std::u16string short_date_format() = 0;
  // The user's long time format as a Windows time picture (for example "h:mm:ss tt" or
  // "HH:mm:ss"), and the designators its "t" and "tt" show before and after noon.
  virtual std::u16string long_time_format() = 0;
  virtual TimeDesignators time_designators() = 0;
  // The title of the application on the taskbar.
  virtual void set_application_title(std::u16string_view title) = 0;

  virtual SystemInfo system_info() = 0;
  virtual LocalTime local_time() = 0;
  // A fast-changing counter to seed the random generator from (the high-resolution
  // performance counter, or the tick count where there is none).
  virtual std::uint32_t random_seed_source() = 0;

  // What WaitReady watches. The idle counters are whole seconds without user input, and
  // without user input or painting, as the program's idle timer counts them.
  struct IdleCounters {
    std::int32_t input_quiet = 0;
    std::int32_t paint_quiet = 0;
  };
  virtual IdleCounters idle_counters() = 0;
  // Whether the foreground window belongs to this thread.
  virtual bool foreground_is_own() = 0;
  // Attaches this thread's input to the foreground window's thread, or detaches it again.
  virtual void attach_to_foreground_input(bool attach) = 0;
  // Switches the run indicator (the alternating tray icon) and gives its former state.
  virtual bool set_run_indicator(bool on) = 0;
};

}  // namespace dorovev
