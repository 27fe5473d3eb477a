// The commands that act on a window: SetFocus>, WindowAction>, CloseWindow>, MoveWindow>
// and ResizeWindow>. In handle mode they act on the handle as written, whether or not a
// window has it (the system ignores calls on a handle that is no window).
#include "commands/windows/foreground.h"
#include "commands/windows/window_handlers.h"
#include "commands/windows/window_lookup.h"
#include "engine/run_context.h"
#include "values/comma_split.h"
#include "values/number_readers.h"

namespace dorovev::windows {
namespace {

void apply_action(HWND window, std::int32_t action) {
  switch (action) {
    case 0: ::ShowWindow(window, SW_RESTORE); break;
    case 1: ::ShowWindow(window, SW_SHOWMAXIMIZED); break;
    case 2: ::ShowWindow(window, SW_MINIMIZE); break;
    case 3: ::PostMessageW(window, WM_CLOSE, 0, 0); break;
    default: break;
  }
}

std::int32_t number_piece(const RunContext& run, std::u16string_view piece) {
  return read_integer_or_zero(run.resolve(piece).view());
}

// MoveWindow> and ResizeWindow>: a title and two numbers; a window that is not found is
// passed over without a report.
void place_window(RunContext& run, std::u16string_view parameters, UINT flags) {
  const CommaPieces pieces(parameters);
  const Text title = run.resolve(pieces[0]);
  const std::int32_t first = number_piece(run, pieces[1]);
  const std::int32_t second = number_piece(run, pieces[2]);
  const std::optional<HWND> window = resolve_window(run, title.view());
  if (!window) return;
  if (flags == SWP_NOSIZE) {
    ::SetWindowPos(*window, nullptr, first, second, 0, 0, flags);
  } else {
    ::SetWindowPos(*window, nullptr, 0, 0, first, second, flags);
  }
}

}  // namespace

void set_focus(RunContext& run, std::u16string_view parameters) {
  const Text title = run.resolve(split_at_first_comma(parameters).first);
  if (const std::optional<HWND> window = resolve_window(run, title.view())) {
    force_foreground(*window);
  } else {
    report_window_not_present(run, title.view(), kNotPresent);
  }
}

void window_action(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const std::int32_t action = number_piece(run, split.first);
  const Text title = run.resolve(split.rest);
  if (handle_mode(run)) {
    apply_action(handle_from_text(title.view()), action);
  } else if (const std::optional<HWND> window = resolve_window(run, title.view())) {
    force_foreground(*window);
    apply_action(*window, action);
  } else {
    report_window_not_present(run, title.view(), kNotPresent);
  }
}

void close_window(RunContext& run, std::u16string_view parameters) {
  const Text title = run.resolve(split_at_first_comma(parameters).first);
  if (const std::optional<HWND> window = resolve_window(run, title.view())) {
    ::PostMessageW(*window, WM_CLOSE, 0, 0);
  } else {
    report_window_not_present(run, title.view(), kNotPresent);
  }
}

void move_window(RunContext& run, std::u16string_view parameters) { place_window(run, parameters, SWP_NOSIZE); }

void resize_window(RunContext& run, std::u16string_view parameters) { place_window(run, parameters, SWP_NOMOVE); }

}  // namespace dorovev::windows
