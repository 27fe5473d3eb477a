// The recording command services of the unit tests.
#include "tests/support/fake_command_services.h"

namespace dorovev::testing {

void FakeCommandServices::report_runtime_error(std::u16string_view message, MessageKind kind,
                                               MessageButtons buttons) {
  reports.push_back({std::u16string(message), kind, buttons});
}

void FakeCommandServices::show_message(std::u16string_view text, MessageKind kind) {
  messages.push_back({std::u16string(text), kind});
}

void FakeCommandServices::set_application_title(std::u16string_view title) { titles.emplace_back(title); }

}  // namespace dorovev::testing
