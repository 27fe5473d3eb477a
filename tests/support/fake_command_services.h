// A recording stand-in for the interpreter's command services (a fake: nothing is shown,
// every report, message, stop request and title is kept for the test to read).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "values/command_services.h"

namespace dorovev::testing {

struct RecordedReport {
  std::u16string message;
  MessageKind kind;
  MessageButtons buttons;
};

struct RecordedMessage {
  std::u16string text;
  MessageKind kind;
};

class FakeCommandServices : public CommandServices {
 public:
  std::vector<RecordedReport> reports;
  std::vector<RecordedMessage> messages;
  int stop_requests = 0;
  std::vector<std::u16string> titles;  // every title set, in order
  char16_t separator = u'.';
  std::u16string date_format = u"M/d/yyyy";
  std::uint32_t seed = 0;

  void report_runtime_error(std::u16string_view message, MessageKind kind, MessageButtons buttons) override;
  void show_message(std::u16string_view text, MessageKind kind) override;
  void request_stop() override { ++stop_requests; }
  char16_t decimal_separator() override { return separator; }
  std::u16string short_date_format() override { return date_format; }
  std::uint32_t& random_seed() override { return seed; }
  void set_application_title(std::u16string_view title) override;

  // True when nothing at all was reported, shown or requested.
  bool quiet() const { return reports.empty() && messages.empty() && stop_requests == 0; }
};

}  // namespace dorovev::testing
