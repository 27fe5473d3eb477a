// What the value commands need from the interpreter and the system around them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorovev {

// The kinds and button sets of the interpreter's message dialogs.
enum class MessageKind : std::uint8_t { kWarning, kError, kInformation, kPlain };
enum class MessageButtons : std::uint8_t { kOk, kOkAbort, kAbortIgnore };
// The button that closed a dialog.
enum class MessageButton : std::uint8_t { kOk, kAbort, kIgnore };

// Commands report to the person running the macro, and read the user's locale, only
// through this interface. The interpreter implements it for a run; unit tests use a
// recording fake.
class CommandServices {
 public:
  virtual ~CommandServices() = default;

  // The runtime-error report: "Line: n " and the message, unless IGNOREERRORS holds "1".
  // Abort stops the macro; the report itself never does.
  virtual void report_runtime_error(std::u16string_view message, MessageKind kind = MessageKind::kInformation,
                                    MessageButtons buttons = MessageButtons::kOkAbort) = 0;
  // A message box that is no runtime-error report: no line prefix, never silenced.
  virtual void show_message(std::u16string_view text, MessageKind kind) = 0;
  // Ends the run before its next line.
  virtual void request_stop() = 0;

  // The user's decimal separator, and short date format as the system states it
  // (for example "M/d/yyyy" or "dd.MM.yyyy").
  virtual char16_t decimal_separator() = 0;
  virtual std::u16string short_date_format() = 0;

  // The seed of the process's random generator (`Let>RND_SEED=n` sets it).
  virtual std::uint32_t& random_seed() = 0;
  // The application title shown on the taskbar (`Let>APP_TITLE=...`).
  virtual void set_application_title(std::u16string_view title) = 0;
};

}  // namespace dorovev
