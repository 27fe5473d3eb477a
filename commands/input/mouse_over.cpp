#include "commands/input/mouse_over.h"

#include <optional>
#include <string>

#include "commands/windows/window_lookup.h"
#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "values/comma_split.h"

namespace dorovev {
namespace {

struct Search {
  std::u16string_view wanted;
  HWND found = nullptr;
};

std::u16string_view trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

// No exception may leave the system's enumeration: a title that cannot be held ends the walk.
BOOL CALLBACK visit(HWND child, LPARAM context) noexcept try {
  Search& search = *reinterpret_cast<Search*>(context);
  const int length = ::GetWindowTextLengthW(child);
  std::wstring title(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int read = ::GetWindowTextW(child, title.data(), static_cast<int>(title.size()));
  title.resize(static_cast<std::size_t>(read > 0 ? read : 0));
  if (trimmed(win32::from_wide(title)) != search.wanted) return TRUE;
  search.found = child;
  return FALSE;
} catch (...) {
  return FALSE;
}

}  // namespace

void mouse_over_command(RunContext& run, std::u16string_view parameters) {
  const CommaSplit split = split_at_first_comma(parameters);
  const Text title = run.resolve(split.first);
  const Text control = run.resolve(split.rest);
  if (const std::optional<HWND> window = windows::resolve_window_title(run, title.view())) {
    move_over_control(*window, control.view());
  }
}

bool move_over_control(HWND window, std::u16string_view control_text) {
  Search search{control_text};
  ::EnumChildWindows(window, visit, reinterpret_cast<LPARAM>(&search));
  RECT frame{};
  if (!search.found || !::GetWindowRect(search.found, &frame)) return false;
  const LONG x = frame.left + (frame.right - frame.left) / 2;
  const LONG y = frame.top + (frame.bottom - frame.top) / 2;
  ::mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
  ::SetCursorPos(x, y);
  return true;
}

}  // namespace dorovev
