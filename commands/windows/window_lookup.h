// Finding windows by title on the live desktop: the window lookup (pattern to matched
// title), the handle lookup (matched title to window), resolve window (what commands use)
// and the window inventory. Every call asks the window system afresh.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/windows/window_rules.h"

namespace dorovev {
class RunContext;
}

namespace dorovev::windows {

// The title of a window as the lookups read it: at most kTitleBuffer - 1 characters.
std::u16string window_title(HWND window);
// The title, or, when that is empty, the whole text through the text messages (bounded in
// time, so a window that does not answer gives an empty text rather than a hang).
std::u16string window_text(HWND window);
// The whole text through the text-length and get-text messages, bounded in time.
std::u16string message_text(HWND window);
std::u16string class_name(HWND window);

// Whether the lookups pass over this top-level window and its descendants: the taskbar's
// thumbnail windows.
bool is_excluded(HWND top_level);

// The top-level windows in the platform's order, and the descendants of one in the
// platform's child order.
std::vector<HWND> top_level_windows();
std::vector<HWND> descendant_windows(HWND parent);

struct WindowMatch {
  std::u16string title;   // the matched title
  HWND exact = nullptr;   // the window that the platform's exact lookup gave, if that step decided
};

// The window lookup of `pattern` under the WF_TYPE value `wf_type`.
std::optional<WindowMatch> find_window_title(std::u16string_view pattern, std::int32_t wf_type);

// The handle lookup: the first window in visiting order titled exactly `title` (letter case
// included) that the scope admits; nullptr when there is none.
HWND find_window_handle(std::u16string_view title, std::int32_t wf_type);

// The current value of WF_TYPE, and whether WIN_USEHANDLE is on.
std::int32_t wf_type(const RunContext& run);
bool handle_mode(const RunContext& run);
// A handle as a script writes it (integer-or-zero, widened as the system widens handles).
HWND handle_from_text(std::u16string_view text);

// Resolve window: in handle mode the parameter as a handle (not checked); otherwise the
// window lookup and then the handle lookup, each under the WF_TYPE of that moment.
// Nothing when no window is found.
std::optional<HWND> resolve_window(const RunContext& run, std::u16string_view title);
// The title path of resolve_window, whatever WIN_USEHANDLE says.
std::optional<HWND> resolve_window_title(const RunContext& run, std::u16string_view title);

// The window inventory; it ends early, partial, once a stop is requested.
std::vector<InventoryEntry> window_inventory(const RunContext& run);

}  // namespace dorovev::windows
