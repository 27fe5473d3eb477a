// The commands that read a window into variables: GetWindowPos>, GetWindowSize>,
// GetActiveWindow> (and its child variant), GetWindowHandle> and GetWindowProcess>.
#include "commands/windows/window_handlers.h"
// After windows.h, which window_handlers.h brings.
#include <psapi.h>

#include "commands/windows/window_lookup.h"
#include "engine/run_context.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace dorovev::windows {
namespace {

// The window rectangle in screen coordinates; all zero for a handle that is no window.
RECT window_rect(HWND window) {
  RECT rect{};
  if (!window || !::GetWindowRect(window, &rect)) rect = RECT{};
  return rect;
}

// GetWindowPos> and GetWindowSize>: a title and two variables.
template <bool Size>
void read_geometry(RunContext& run, std::u16string_view parameters, std::u16string_view suffix) {
  const CommaPieces pieces(parameters);
  const Text title = run.resolve(pieces[0]);
  const std::optional<HWND> window = resolve_window(run, title.view());
  if (!window) {
    report_window_not_present(run, title.view(), suffix);
    return;
  }
  const RECT rect = window_rect(*window);
  const long long first = Size ? static_cast<long long>(rect.right) - rect.left : rect.left;
  const long long second = Size ? static_cast<long long>(rect.bottom) - rect.top : rect.top;
  AssignVariable(run.variables, pieces[1], decimal(first));
  AssignVariable(run.variables, pieces[2], decimal(second));
}

// The first visible descendant of `parent` with a title, in the platform's order.
HWND first_visible_titled_child(HWND parent) {
  if (!parent) return nullptr;
  for (HWND child : descendant_windows(parent)) {
    if (::IsWindowVisible(child) && !window_title(child).empty()) return child;
  }
  return nullptr;
}

// The variables of GetActiveWindow>: title, left, top and, when named, width and height.
void assign_active(RunContext& run, const CommaPieces& pieces, std::u16string title, HWND window) {
  const RECT rect = window_rect(window);
  AssignVariable(run.variables, pieces[0], std::u16string_view(title));
  AssignVariable(run.variables, pieces[1], decimal(rect.left));
  AssignVariable(run.variables, pieces[2], decimal(rect.top));
  if (!pieces[3].empty()) AssignVariable(run.variables, pieces[3], decimal(static_cast<long long>(rect.right) - rect.left));
  if (!pieces[4].empty()) AssignVariable(run.variables, pieces[4], decimal(static_cast<long long>(rect.bottom) - rect.top));
}

void active_child(RunContext& run, const CommaPieces& pieces) {
  const HWND child = first_visible_titled_child(::GetForegroundWindow());
  assign_active(run, pieces, child ? window_title(child) : std::u16string(), child);
}

// The path of the first module of a process; empty when the process cannot be read.
std::u16string process_file_name(DWORD process_id) {
  const win32::UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id));
  if (!process) return {};
  HMODULE module = nullptr;
  DWORD needed = 0;
  if (!::EnumProcessModules(process.get(), &module, sizeof module, &needed) || needed == 0) return {};
  wchar_t name[MAX_PATH];
  const DWORD length = ::GetModuleFileNameExW(process.get(), module, name, MAX_PATH);
  return length > 0 ? win32::from_wide(name, length) : std::u16string();
}

}  // namespace

void get_window_pos(RunContext& run, std::u16string_view parameters) {
  read_geometry<false>(run, parameters, u"in GetWindowPos Not Present.");
}

void get_window_size(RunContext& run, std::u16string_view parameters) {
  read_geometry<true>(run, parameters, u"in GetWindowSize Not Present.");
}

void get_active_window(RunContext& run, std::u16string_view parameters) {
  const CommaPieces pieces(parameters);
  if (run.setting_is_on(u"GAW_TYPE")) return active_child(run, pieces);
  const HWND window = ::GetForegroundWindow();
  std::u16string title = handle_mode(run) ? handle_text(window) : (window ? message_text(window) : std::u16string());
  assign_active(run, pieces, std::move(title), window);
}

void get_active_child(RunContext& run, std::u16string_view parameters) { active_child(run, CommaPieces(parameters)); }

void get_window_handle(RunContext& run, std::u16string_view parameters) {
  const CommaPieces pieces(parameters);
  const Text title = run.resolve(pieces[0]);
  if (const std::optional<HWND> window = resolve_window_title(run, title.view())) {
    AssignVariable(run.variables, pieces[1], handle_text(*window));
  }
}

void get_window_process(RunContext& run, std::u16string_view parameters) {
  const CommaPieces pieces(parameters);
  const Text title = run.resolve(pieces[0]);
  const HWND window = resolve_window(run, title.view()).value_or(nullptr);
  DWORD process_id = 0;
  if (!window || !::GetWindowThreadProcessId(window, &process_id)) process_id = 0;
  AssignVariable(run.variables, pieces[1], decimal(process_id));
  AssignVariable(run.variables, pieces[2], process_id ? process_file_name(process_id) : std::u16string());
}

}  // namespace dorovev::windows
