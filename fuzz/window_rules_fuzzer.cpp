// Fuzzes the window matching rules: the pattern split, "contains" against a plain reading
// of its letter-case rule, and the inventory walks against their invariants. The input is
// UTF-16: a title, a separator U+0001 and a pattern; then, after U+0002, an inventory with
// one entry per U+0003-separated piece (first unit: kind and owner, the rest its text).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/windows/window_rules.h"

using namespace dorovev::windows;

namespace {

char16_t fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool plain_contains(std::u16string_view title, std::u16string_view stem) {
  for (std::size_t at = 0; at + stem.size() <= title.size(); ++at) {
    bool same = true;
    for (std::size_t i = 0; i < stem.size() && same; ++i) same = fold(title[at + i]) == fold(stem[i]);
    if (same) return true;
  }
  return false;
}

std::vector<InventoryEntry> inventory_of(std::u16string_view text) {
  std::vector<InventoryEntry> inventory;
  std::uint64_t top_handle = 0;
  std::uint64_t next = 1;
  while (!text.empty()) {
    const std::size_t end = text.find(u'\u0003');
    std::u16string_view piece = text.substr(0, end);
    text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 1);
    if (piece.empty()) continue;
    const char16_t kind = piece.front();
    piece.remove_prefix(1);
    InventoryEntry entry;
    entry.handle = next++;
    entry.top_level = (kind & 1) != 0;
    if (entry.top_level || (kind & 2)) top_handle = entry.handle;  // bit 2: a child of an untitled window
    entry.top_level_handle = top_handle;
    entry.class_name = u"C";
    entry.text = std::u16string(piece);
    inventory.push_back(std::move(entry));
  }
  return inventory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string input(size / 2, u'\0');
  for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const std::size_t inventory_at = input.find(u'\u0002');
  const std::u16string_view head = std::u16string_view(input).substr(0, inventory_at);
  const std::size_t separator = head.find(u'\u0001');
  const std::u16string_view title = head.substr(0, separator);
  const std::u16string_view pattern = separator == std::u16string_view::npos ? head : head.substr(separator + 1);

  const TitlePattern parsed = parse_title_pattern(pattern);
  if (parsed.wildcard != (!pattern.empty() && pattern.back() == u'*')) __builtin_trap();
  if (parsed.stem.size() + (parsed.wildcard ? 1 : 0) != pattern.size()) __builtin_trap();
  if (title_contains(title, parsed.stem) != plain_contains(title, parsed.stem)) __builtin_trap();
  const std::int32_t wf_type = static_cast<std::int32_t>(input.empty() ? 0 : input[0]) - 3;
  const WindowScope scope = window_scope(wf_type);
  if (scope.top_level != (wf_type <= 2) || scope.children != (wf_type >= 1) ||
      scope.exact_visible_only != (wf_type >= 2)) {
    __builtin_trap();
  }

  if (inventory_at == std::u16string::npos) return 0;
  const std::vector<InventoryEntry> inventory = inventory_of(std::u16string_view(input).substr(inventory_at + 1));
  const std::u16string texts = child_texts(inventory, pattern, (size & 1) != 0);
  if (texts.size() > size) __builtin_trap();  // only texts of the input, and their separators
  if (const auto found = window_with_child_text(inventory, pattern)) {
    if (*found >= inventory.size() || !inventory[*found].top_level) __builtin_trap();
  }
  for (const InventoryEntry& entry : inventory) {
    const std::u16string line = inventory_line(entry);
    if (line.find(entry.text) == std::u16string::npos) __builtin_trap();
  }
  return 0;
}
