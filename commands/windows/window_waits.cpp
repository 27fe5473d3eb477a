// WaitWindowOpen>, WaitWindowClosed> and WaitWindowChanged>: polls that look once per
// pass, serve the message queue once and sleep a millisecond, until their condition
// holds, the time-out passes or a stop is requested.
//
// Elapsed time is summed from differences of the tick count, so a wait survives the
// count's wrap after 49.7 days, and a time-out too long to compute means no time-out.
#include <cmath>
#include <cstdint>
#include <optional>

#include "commands/windows/window_handlers.h"
#include "commands/windows/window_lookup.h"
#include "engine/pumped_wait.h"
#include "engine/run_context.h"
#include "values/comma_split.h"
#include "values/number_format.h"
#include "values/number_readers.h"

namespace dorovev::windows {
namespace {

class Stopwatch {
 public:
  explicit Stopwatch(RunContext& run) : run_(run), last_(run.platform.tick_count()) {}
  std::uint64_t elapsed() {
    const std::uint32_t now = run_.platform.tick_count();
    elapsed_ += static_cast<std::uint32_t>(now - last_);
    last_ = now;
    return elapsed_;
  }

 private:
  RunContext& run_;
  std::uint32_t last_;
  std::uint64_t elapsed_ = 0;
};

// WW_TIMEOUT in whole milliseconds: a real number of seconds in the user's format. Unset,
// not a number, zero or less, or too long to count: no time-out.
std::optional<std::uint64_t> window_wait_timeout(RunContext& run) {
  const std::optional<double> seconds =
      read_locale_real(run.resolve(u"%WW_TIMEOUT%").view(), run.platform.decimal_separator());
  if (!seconds || !(*seconds > 0)) return std::nullopt;
  const double milliseconds = std::trunc(*seconds * 1000);
  if (!(milliseconds < 9.0e18)) return std::nullopt;
  return static_cast<std::uint64_t>(milliseconds);
}

bool window_present(RunContext& run, std::u16string_view title, bool by_handle) {
  if (by_handle) return ::IsWindow(handle_from_text(title)) != FALSE;
  return find_window_title(title, wf_type(run)).has_value();
}

void wait_for_window(RunContext& run, std::u16string_view parameters, bool until_open) {
  const Text title = run.resolve(split_at_first_comma(parameters).first);
  const std::optional<std::uint64_t> timeout = window_wait_timeout(run);
  AssignVariable(run.variables, u"WW_RESULT", u"TRUE");
  const bool by_handle = handle_mode(run);
  Stopwatch stopwatch(run);
  bool timed_out = false;
  // The window is looked at once more after the time-out is noticed: a window that came
  // just then still ends the wait, with WW_RESULT already FALSE.
  while (window_present(run, title.view(), by_handle) != until_open) {
    if (timed_out || !pumped_wait(run, 1)) return;
    if (timeout && stopwatch.elapsed() >= *timeout) {
      AssignVariable(run.variables, u"WW_RESULT", u"FALSE");
      timed_out = true;
    }
  }
}

}  // namespace

void wait_window_open(RunContext& run, std::u16string_view parameters) { wait_for_window(run, parameters, true); }

void wait_window_closed(RunContext& run, std::u16string_view parameters) { wait_for_window(run, parameters, false); }

void wait_window_changed(RunContext& run, std::u16string_view parameters) {
  const std::int64_t seconds = read_strict_integer(run.resolve(parameters).view()).value_or(0);
  AssignVariable(run.variables, u"WWC_RESULT", u"TRUE");
  const HWND start = ::GetForegroundWindow();
  Stopwatch stopwatch(run);
  while (::GetForegroundWindow() == start) {
    if (!pumped_wait(run, 1)) return;
    if (seconds > 0 && stopwatch.elapsed() >= static_cast<std::uint64_t>(seconds) * 1000) {
      AssignVariable(run.variables, u"WWC_RESULT", u"FALSE");
      return;
    }
  }
}

}  // namespace dorovev::windows
