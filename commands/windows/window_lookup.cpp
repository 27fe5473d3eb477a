// The window lookup, the handle lookup and the window inventory over the live desktop.
//
// The enumeration callbacks only collect handles; titles are read afterwards, so no C
// callback runs code that can throw, and the order is exactly the platform's.
#include "commands/windows/window_lookup.h"

#include <exception>

#include "engine/run_context.h"
#include "platform/win32/wide.h"
#include "values/number_readers.h"

namespace dorovev::windows {
namespace {

using win32::from_wide;
using win32::wide;

// How long a window of another program may take to answer a text message.
constexpr UINT kTextAnswerMilliseconds = 2000;

struct Collector {
  std::vector<HWND> windows;
  std::exception_ptr failure;
};

BOOL CALLBACK collect_window(HWND window, LPARAM context) noexcept {
  auto& collector = *reinterpret_cast<Collector*>(context);
  try {
    collector.windows.push_back(window);
    return TRUE;
  } catch (...) {
    collector.failure = std::current_exception();
    return FALSE;
  }
}

std::vector<HWND> collected(Collector& collector) {
  if (collector.failure) std::rethrow_exception(collector.failure);
  return std::move(collector.windows);
}

// Visits the windows that `scope` admits, top-level windows each followed by their
// descendants, and gives the first whose title `accept` takes, with that title.
template <typename Accept>
HWND first_admitted(const WindowScope& scope, Accept accept, std::u16string* title_out) {
  const auto take = [&](HWND window, bool visible_only) {
    if (visible_only && !::IsWindowVisible(window)) return false;
    std::u16string title = window_title(window);
    if (title.empty() || !accept(std::u16string_view(title))) return false;
    if (title_out) *title_out = std::move(title);
    return true;
  };
  for (HWND top : top_level_windows()) {
    if (is_excluded(top)) continue;
    if (scope.top_level && take(top, scope.top_level_visible_only)) return top;
    if (!scope.children) continue;
    for (HWND child : descendant_windows(top)) {
      if (take(child, scope.children_visible_only)) return child;
    }
  }
  return nullptr;
}

}  // namespace

std::u16string window_title(HWND window) {
  wchar_t buffer[kTitleBuffer];
  const int length = ::GetWindowTextW(window, buffer, static_cast<int>(kTitleBuffer));
  return length > 0 ? from_wide(buffer, static_cast<std::size_t>(length)) : std::u16string();
}

std::u16string window_text(HWND window) {
  std::u16string text = window_title(window);
  return text.empty() ? message_text(window) : text;
}

std::u16string message_text(HWND window) {
  std::u16string text;
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextAnswerMilliseconds, &length) ||
      length == 0 || length > 0x1000000) {
    return text;
  }
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kTextAnswerMilliseconds, &copied)) {
    return text;
  }
  buffer.resize(copied < buffer.size() ? static_cast<std::size_t>(copied) : 0);
  return from_wide(buffer);
}

std::u16string class_name(HWND window) {
  wchar_t buffer[256];
  const int length = ::GetClassNameW(window, buffer, 256);
  return length > 0 ? from_wide(buffer, static_cast<std::size_t>(length)) : std::u16string();
}

bool is_excluded(HWND top_level) {
  // The owner is asked first: most top-level windows have none, and then no class name
  // needs reading.
  const HWND parent = ::GetParent(top_level);
  return parent && class_name(parent) == u"Shell_TrayWnd" && class_name(top_level) == u"ThumbnailClass";
}

std::vector<HWND> top_level_windows() {
  Collector collector;
  ::EnumWindows(collect_window, reinterpret_cast<LPARAM>(&collector));
  return collected(collector);
}

std::vector<HWND> descendant_windows(HWND parent) {
  Collector collector;
  ::EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&collector));
  return collected(collector);
}

std::optional<WindowMatch> find_window_title(std::u16string_view pattern, std::int32_t wf_type) {
  const WindowScope scope = window_scope(wf_type);
  const TitlePattern parsed = parse_title_pattern(pattern);
  // The platform's exact lookup decides alone for an exact pattern, and for a wildcard
  // whose stem is some window's whole title. The taskbar's thumbnails never match, not
  // even by their exact titles.
  const HWND exact = ::FindWindowW(nullptr, wide(parsed.stem).c_str());
  if (exact && !is_excluded(exact)) {
    if (scope.exact_visible_only && !::IsWindowVisible(exact)) return std::nullopt;
    return WindowMatch{std::u16string(parsed.stem), exact};
  }
  if (!parsed.wildcard) return std::nullopt;
  WindowMatch match;
  const auto contains_stem = [&](std::u16string_view title) { return title_contains(title, parsed.stem); };
  if (!first_admitted(scope, contains_stem, &match.title)) return std::nullopt;
  return match;
}

HWND find_window_handle(std::u16string_view title, std::int32_t wf_type) {
  const auto equal = [&](std::u16string_view candidate) { return candidate == title; };
  return first_admitted(window_scope(wf_type), equal, nullptr);
}

std::int32_t wf_type(const RunContext& run) { return read_integer_or_zero(run.resolve(u"%WF_TYPE%").view()); }

bool handle_mode(const RunContext& run) { return run.setting_is_on(u"WIN_USEHANDLE"); }

HWND handle_from_text(std::u16string_view text) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(read_integer_or_zero(text)));
}

std::optional<HWND> resolve_window(const RunContext& run, std::u16string_view title) {
  if (handle_mode(run)) return handle_from_text(title);
  return resolve_window_title(run, title);
}

std::optional<HWND> resolve_window_title(const RunContext& run, std::u16string_view title) {
  const std::optional<WindowMatch> match = find_window_title(title, wf_type(run));
  if (!match) return std::nullopt;
  // The handle lookup compares letter case and its scope may leave out the window that
  // the platform's exact lookup found (a title written in other letters, or WF_TYPE 3);
  // then that window is the one meant. An empty title names no window, and a window gone
  // since the lookup is not found.
  HWND window = find_window_handle(match->title, wf_type(run));
  if (!window && !match->title.empty() && match->exact && ::IsWindow(match->exact)) window = match->exact;
  if (!window) return std::nullopt;
  return window;
}

std::vector<InventoryEntry> window_inventory(const RunContext& run) {
  std::vector<InventoryEntry> inventory;
  const auto add = [&](HWND window, HWND top) {
    std::u16string text = window_text(window);
    if (text.empty()) return;
    const auto handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
    const auto top_handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(top));
    inventory.push_back({window == top, handle, top_handle, class_name(window), std::move(text)});
  };
  for (HWND top : top_level_windows()) {
    if (run.process.stop_requested) break;
    add(top, top);
    for (HWND child : descendant_windows(top)) {
      if (run.process.stop_requested) break;
      add(child, top);
    }
  }
  return inventory;
}

}  // namespace dorovev::windows
