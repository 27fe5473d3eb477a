// The platform seam implemented with the real Win32 API.
#pragma once

#include "engine/platform.h"

namespace dorovev::win32 {

class Win32Platform final : public Platform {
 public:
  std::uint32_t tick_count() override;
  std::vector<std::u16string> command_line_arguments() override;
  std::u16string ansi_to_text(std::string_view bytes) override;
  std::string text_to_ansi(std::u16string_view text) override;
  bool file_exists(std::u16string_view path) override;
  std::optional<std::string> read_file(std::u16string_view path) override;
  bool write_file(std::u16string_view path, std::string_view bytes) override;
  bool directory_exists(std::u16string_view path) override;
  bool create_directory(std::u16string_view path) override;
  std::u16string current_directory() override;
  bool set_current_directory(std::u16string_view path) override;
  MessageButton show_message_dialog(std::u16string_view text, MessageKind kind, MessageButtons buttons) override;
  void process_messages() override;
  void sleep(std::uint32_t milliseconds) override;
  void yield_between_lines() override;
  char16_t decimal_separator() override;
  std::u16string short_date_format() override;
  std::u16string long_time_format() override;
  TimeDesignators time_designators() override;
  void set_application_title(std::u16string_view title) override;
  SystemInfo system_info() override;
  LocalTime local_time() override;
  bool append_file(std::u16string_view path, std::string_view bytes) override;
  std::uint32_t random_seed_source() override;
  IdleCounters idle_counters() override;
  bool foreground_is_own() override;
  void attach_to_foreground_input(bool attach) override;
  bool set_run_indicator(bool on) override;
  bool run_indicator() const { return run_indicator_; }

  // The counters of the program's idle timer, once a main window keeps them; until then
  // both count the seconds since the last input anywhere on the desktop.
  void use_idle_counters(const IdleCounters* counters) { idle_counters_ = counters; }

 private:
  std::u16string title_ = u"Dorovev";
  const IdleCounters* idle_counters_ = nullptr;
  unsigned long attached_thread_ = 0;
  bool run_indicator_ = false;
  long long next_look_ = 0;  // performance-counter time of the next look at the queue
};

}  // namespace dorovev::win32
