// A scripted stand-in for the operating system in the portable unit tests (a fake:
// files live in memory, the ANSI code page is Windows-1252, the clock is a counter).
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/line_list.h"
#include "engine/platform.h"

namespace dorovev::testing {

// One message dialog as the fake showed it.
struct ShownDialog {
  std::u16string text;
  MessageKind kind;
  MessageButtons buttons;
};

class FakePlatform : public Platform {
 public:
  std::uint32_t ticks = 1000;
  std::vector<std::u16string> arguments;
  std::map<std::u16string, std::string> files;  // path -> bytes
  std::vector<std::u16string> unreadable;       // paths that exist but fail to read
  std::set<std::u16string> directories{u"C:\\"};
  std::u16string current = u"C:\\";
  std::vector<ShownDialog> dialogs;
  std::deque<MessageButton> answers;  // the buttons to choose, in order; then the first button
  std::u16string title;
  char16_t separator = u'.';
  std::u16string date_format = u"M/d/yyyy";
  int pumps = 0;
  SystemInfo system{u"NT.6.1.7601",  u"C:\\Windows", u"C:\\Windows\\system32", u"C:\\Temp\\",
                    u"C:\\Users\\ann\\Documents", u"C:\\Users\\ann\\Desktop", u"ann", u"HOST",
                    u"\"C:\\Program Files\\dorovev.exe\" -RUN a.scp", u"C:\\Program Files\\dorovev.exe"};
  std::uint32_t seed_source = 12345;
  // Called at every pump, as if a message arrived (for example the stop hotkey).
  std::function<void()> on_pump;

  std::uint32_t tick_count() override { return ticks; }
  std::vector<std::u16string> command_line_arguments() override { return arguments; }
  std::u16string ansi_to_text(std::string_view bytes) override;
  std::string text_to_ansi(std::u16string_view text) override;
  bool file_exists(std::u16string_view path) override;
  std::optional<std::string> read_file(std::u16string_view path) override;
  bool write_file(std::u16string_view path, std::string_view bytes) override;
  bool directory_exists(std::u16string_view path) override { return directories.count(std::u16string(path)) != 0; }
  bool create_directory(std::u16string_view path) override;
  std::u16string current_directory() override { return current; }
  bool set_current_directory(std::u16string_view path) override;
  MessageButton show_message_dialog(std::u16string_view text, MessageKind kind, MessageButtons buttons) override;
  void process_messages() override;
  // Sleeping moves the fake clock on: waits end without real time passing.
  void sleep(std::uint32_t milliseconds) override { ticks += milliseconds; }
  char16_t decimal_separator() override { return separator; }
  std::u16string short_date_format() override { return date_format; }
  std::u16string time_format = u"h:mm:ss tt";
  TimeDesignators designators;  // AM and PM
  std::u16string long_time_format() override { return time_format; }
  TimeDesignators time_designators() override { return designators; }
  void set_application_title(std::u16string_view text) override { title = text; }
  SystemInfo system_info() override { return system; }
  LocalTime now{2009, 1, 15, 9, 5, 3, 42};
  LocalTime local_time() override { return now; }
  bool append_file(std::u16string_view path, std::string_view bytes) override;
  std::uint32_t random_seed_source() override { return seed_source; }

  // The idle counters count whole seconds of the fake clock since the last reset.
  std::uint32_t input_reset_at = 1000;
  std::uint32_t paint_reset_at = 1000;
  IdleCounters idle_counters() override {
    return {static_cast<std::int32_t>((ticks - input_reset_at) / 1000),
            static_cast<std::int32_t>((ticks - std::max(input_reset_at, paint_reset_at)) / 1000)};
  }
  bool foreground_own = false;
  bool foreground_input_attached = false;
  int foreground_attachments = 0;
  bool foreground_is_own() override { return foreground_own; }
  void attach_to_foreground_input(bool attach) override {
    foreground_input_attached = attach;
    if (attach) ++foreground_attachments;
  }
  bool run_indicator = true;
  bool set_run_indicator(bool on) override { return std::exchange(run_indicator, on); }
};

// UTF-16 text from a UTF-8 literal, for readable tests.
std::u16string u16(std::string_view utf8);

// A line list from UTF-8 literals.
LineList make_lines(std::initializer_list<const char*> texts);

}  // namespace dorovev::testing
