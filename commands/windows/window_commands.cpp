// The window command family: its entries in the command table, the shared helpers of its
// handlers, and the window test of IfWindowOpen>.
#include "commands/windows/window_commands.h"

#include "commands/windows/window_handlers.h"
#include "commands/windows/window_lookup.h"
#include "engine/dispatch.h"
#include "engine/run_context.h"

namespace dorovev {

using namespace codes;

void register_window_commands(CommandTable& table) {
  using namespace windows;
  table.add(u"SET"_code, set_focus);
  table.add(u"WWO"_code, wait_window_open);
  table.add(u"WWC"_code, wait_window_closed);
  table.add(u"WWX"_code, wait_window_changed);
  table.add(u"WIN"_code, window_action);
  table.add(u"MVW"_code, move_window);
  table.add(u"RSW"_code, resize_window);
  table.add(u"CLO"_code, close_window);
  table.add(u"GWP"_code, get_window_pos);
  table.add(u"GWS"_code, get_window_size);
  table.add(u"GAW"_code, get_active_window);
  table.add(u"GAC"_code, get_active_child);
  table.add(u"GWT"_code, get_window_text);
  table.add(u"GWL"_code, get_window_list);
  table.add(u"GWH"_code, get_window_handle);
  table.add(u"GPW"_code, get_window_process);
  table.add(u"FIN"_code, find_window_by_text);
}

bool any_window_matches(RunContext& run, std::u16string_view title) {
  if (windows::handle_mode(run)) return ::IsWindow(windows::handle_from_text(title)) != FALSE;
  return windows::find_window_title(title, windows::wf_type(run)).has_value();
}

namespace windows {

CommaPieces::CommaPieces(std::u16string_view text) {
  for (;;) {
    const std::size_t comma = text.find(u',');
    pieces_.push_back(text.substr(0, comma));
    if (comma == std::u16string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
}

void report_window_not_present(RunContext& run, std::u16string_view title, std::u16string_view suffix) {
  std::u16string message(translate(u"Specified Window"));
  message += u" \"";
  message += title;
  message += u"\" ";
  message += translate(suffix);
  message += u"\r\n";
  message += translate(u"Any Subsequent Key Sends In Script May Cause Exceptions.");
  run.report_runtime_error(message, MessageKind::kWarning, MessageButtons::kAbortIgnore);
}

std::u16string handle_text(HWND window) {
  return windows::handle_text(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window)));
}

std::u16string decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace windows
}  // namespace dorovev
