// The commands that read the texts of windows: GetWindowText>, GetWindowList> and
// FindWindowByText>. They walk the whole desktop and take no account of WF_TYPE.
#include "commands/windows/foreground.h"
#include "commands/windows/window_handlers.h"
#include "commands/windows/window_lookup.h"
#include "engine/run_context.h"

namespace dorovev::windows {

void get_window_text(RunContext& run, std::u16string_view parameters) {
  const CommaPieces pieces(parameters);
  const Text title = run.resolve(pieces[0]);
  const std::u16string texts = child_texts(window_inventory(run), title.view(), handle_mode(run));
  AssignVariable(run.variables, pieces[1], std::u16string_view(texts));
}

void get_window_list(RunContext& run, std::u16string_view parameters) {
  std::u16string list;
  for (HWND window : top_level_windows()) {
    if (!::IsWindowVisible(window)) continue;
    const std::u16string title = window_text(window);
    if (title.empty()) continue;
    list += title;
    list += u"\r\n";
  }
  AssignVariable(run.variables, parameters, std::u16string_view(list));
}

void find_window_by_text(RunContext& run, std::u16string_view parameters) {
  const CommaPieces pieces(parameters);
  const Text text = run.resolve(pieces[0]);
  const std::vector<InventoryEntry> inventory = window_inventory(run);
  const std::optional<std::size_t> found = window_with_child_text(inventory, text.view());
  const bool by_handle = handle_mode(run);
  std::u16string result;
  if (found) {
    result = by_handle ? windows::handle_text(inventory[*found].handle) : inventory[*found].text;
  } else {
    result = by_handle ? u"0" : u"NOT FOUND";
  }
  AssignVariable(run.variables, pieces[2], std::u16string_view(result));
  if (found && pieces[1] == u"1") {
    force_foreground(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(inventory[*found].handle)));
  }
}

}  // namespace dorovev::windows
